#pragma once

class QApplication;

namespace tintavo {

// Makes every window and dialog the application shows open wholly on the
// screen that holds the window it was opened from (its parent's, or the
// active one's): moved onto it, and made smaller where it may shrink. A window
// left half off a small screen could not be brought back by keyboard.
void keepWindowsOnScreen(QApplication &app);

} // namespace tintavo
