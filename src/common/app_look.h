#pragma once

class QApplication;

namespace tintavo {

// Gives the application the look its users get: the Chinese translations of
// the toolkit's own texts, the interface font, the frame style, and windows
// that open on the screen. main() and every widget test call it, so a test
// sees what a user sees. Calling it again changes nothing.
void setUpApplicationLook(QApplication &app);

} // namespace tintavo
