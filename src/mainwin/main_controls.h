#pragma once

#include "color/editor_controls.h"
#include "common/control_table.h"

class QGroupBox;
class QPushButton;
class QWidget;

namespace tintavo {

// The main window's controls: the preview frame and the two editor frames with
// their eighteen channel editors, the command frame Frame4 with its six
// buttons, and the colour-box frame Frame3.
struct MainControls
{
    ColorEditingControls editors;
    QGroupBox *commandFrame;       // Frame4
    QPushButton *chooseForeground; // show_fg_color
    QPushButton *chooseBackground; // show_bg_color
    QPushButton *pick;             // cmdMouse
    QPushButton *randomFill;       // show_help
    QPushButton *settings;         // exit_me
    QPushButton *about;            // about_me
    QGroupBox *colorBoxFrame;      // Frame3
};

// The swatch view's place in the tab order, last of all; the window makes it.
inline constexpr int kColorBoxTabIndex = 37;

// Builds the main window's controls on `window`, as designed.
BuiltControls<MainControls> buildMainControls(QWidget *window);

} // namespace tintavo
