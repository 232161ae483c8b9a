#pragma once

class QMessageBox;

namespace tintavo {

// Widens `box` so that a window manager shows its title whole beside the
// title bar's icon and buttons; a box sized to a short text alone is so
// narrow that the title is cut.
void widenForTitle(QMessageBox &box);

} // namespace tintavo
