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
    // Every change of the colour box, taken back and made again. Text boxes
    // keep Ctrl+Z for their own text while they have the focus.
    QAction *undo = nullptr; // "撤销", Ctrl+Z
    QAction *redo = nullptr; // "重做", Ctrl+Shift+Z
};

// Builds the popup menu as a child of `window`. The six command actions are
// also added to `window` with a window-wide shortcut context, so their keys
// work while the menu is closed, acting on the selected swatch.
SwatchMenu buildSwatchMenu(QWidget *window);

} // namespace tintavo
