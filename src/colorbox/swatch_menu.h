#pragma once

class QAction;
class QMenu;
class QWidget;

namespace tintavo {

// The swatch popup menu "操作" and its items, built once per main window.
struct SwatchMenu
{
    QMenu *menu = nullptr;
    QAction *loadBackground = nullptr; // "设为背景色", Ctrl+B
    QAction *loadForeground = nullptr; // "设为前景色", Ctrl+F
    QAction *separator = nullptr;
    QAction *saveBackground = nullptr; // "保存背景色", Ctrl+S
    QAction *saveForeground = nullptr; // "保存前景色", Ctrl+D
};

// Builds the popup menu as a child of `window`. The four command actions are
// also added to `window` with a window-wide shortcut context, so their keys
// work while the menu is closed, acting on the selected swatch.
SwatchMenu buildSwatchMenu(QWidget *window);

} // namespace tintavo
