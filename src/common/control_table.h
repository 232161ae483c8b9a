#pragma once

#include "common/twips.h"

#include <QHash>
#include <QString>
#include <span>

class QWidget;

namespace tintavo {

enum class ControlKind
{
    Frame,
    Label,
    TextBox,
    MultiLineTextBox,
    Slider,
    CommandButton,
    CheckBox,
    PictureBox
};

// One control of a window as designed: its name (also its objectName), kind,
// container (nullptr for the window itself), twips rectangle relative to the
// container's outer top-left corner, caption or initial text, tooltip and tab
// index (-1 for none). Texts are UTF-8.
struct ControlSpec
{
    const char *name;
    ControlKind kind;
    const char *parent;
    TwipsRect rect;
    const char *caption = "";
    const char *tooltip = "";
    int tabIndex = -1;
};

// Builds the controls of `table` in order on `window` (containers before their
// children), and chains the keyboard focus through them by tab index.
// Returns the created widgets by name.
QHash<QString, QWidget *> buildControls(QWidget *window, std::span<const ControlSpec> table);

// Chains keyboard focus through `widgets`, sorted by their "tabIndex" property.
void applyTabOrder(QList<QWidget *> widgets);

} // namespace tintavo
