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

// The control `name` that buildControls made, as the type the window keeps it
// as. Windows look each of theirs up once, when they build them; a name or type
// that does not match the table stops the program at once, in every build.
QWidget *builtControl(const QHash<QString, QWidget *> &built, const char *name,
                      const QMetaObject &type);
template <typename T> T *builtControl(const QHash<QString, QWidget *> &built, const char *name)
{
    return static_cast<T *>(builtControl(built, name, T::staticMetaObject));
}

// Chains keyboard focus through `widgets`, sorted by their "tabIndex" property.
void applyTabOrder(QList<QWidget *> widgets);

} // namespace tintavo
