#pragma once

#include "common/control_table.h"

#include <span>

class QGroupBox;
class QPushButton;
class QWidget;

namespace tintavo {

// The command frame Frame4 with its six buttons, and the colour-box frame Frame3.
std::span<const ControlSpec> mainWindowControls();

// The controls of mainWindowControls() as the main window keeps them.
struct MainControls
{
    QGroupBox *commandFrame;       // Frame4
    QPushButton *chooseForeground; // show_fg_color
    QPushButton *chooseBackground; // show_bg_color
    QPushButton *pick;             // cmdMouse
    QPushButton *randomFill;       // show_help
    QPushButton *settings;         // exit_me
    QPushButton *about;            // about_me
    QGroupBox *colorBoxFrame;      // Frame3
};

// Builds the controls of mainWindowControls() on `window`.
MainControls buildMainWindowControls(QWidget *window);

} // namespace tintavo
