#pragma once

#include <QString>

class QDialog;

namespace tintavo {

// The command a desktop key runs to reach Tintavo: "tintavo --capture", or
// this copy's full path where it is not the tintavo found on PATH.
QString captureCommand();

// Where the desktop hands programs no global key of their own (a Wayland
// session), the settings dialog grows a frame about the capture key: where
// Alt+Shift+S is bound to tintavo --capture on this desktop, and on GNOME a
// button that adds it to GNOME's own custom shortcuts. Nothing elsewhere.
void addCaptureKeySection(QDialog *dialog, int clientWidthTwips, int clientHeightTwips);

} // namespace tintavo
