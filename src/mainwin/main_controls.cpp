#include "mainwin/main_controls.h"

#include <QGroupBox>
#include <QPushButton>

namespace tintavo {

namespace {

using K = ControlKind;

const ControlSpec kControls[] = {
    {"Frame4", K::Frame, nullptr, {7455, 4320, 3900, 1755}, "其他操作", "", 15},
    {"show_fg_color",
     K::CommandButton,
     "Frame4",
     {180, 240, 1695, 375},
     "前景颜色选择(&G)",
     "显示前景颜色对话框，可以获得颜色的代码",
     17},
    {"show_bg_color",
     K::CommandButton,
     "Frame4",
     {2070, 225, 1695, 375},
     "背景颜色选择(&B)",
     "显示背景颜色对话框，可以获得颜色的代码",
     18},
    {"cmdMouse", K::CommandButton, "Frame4", {180, 735, 1695, 375}, "鼠标取色(&M)", "", 34},
    {"show_help", K::CommandButton, "Frame4", {2070, 735, 1695, 375}, "随机存储颜色(&R)", "", 20},
    {"exit_me",
     K::CommandButton,
     "Frame4",
     {180, 1230, 1695, 375},
     "软件设置(&T)",
     "更改软件的设置",
     16},
    {"about_me", K::CommandButton, "Frame4", {2070, 1230, 1695, 375}, "关 于…(&A)", "", 19},
    {"Frame3", K::Frame, nullptr, {105, 6150, 11280, 945}, "储存颜色", "", 35},
};

} // namespace

std::span<const ControlSpec> mainWindowControls()
{
    return kControls;
}

MainControls buildMainWindowControls(QWidget *window)
{
    const QHash<QString, QWidget *> built = buildControls(window, kControls);
    return {
        builtControl<QGroupBox>(built, "Frame4"),
        builtControl<QPushButton>(built, "show_fg_color"),
        builtControl<QPushButton>(built, "show_bg_color"),
        builtControl<QPushButton>(built, "cmdMouse"),
        builtControl<QPushButton>(built, "show_help"),
        builtControl<QPushButton>(built, "exit_me"),
        builtControl<QPushButton>(built, "about_me"),
        builtControl<QGroupBox>(built, "Frame3"),
    };
}

} // namespace tintavo
