#pragma once

#include "common/twips.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstring>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace tintavo {

// What makeControl builds for a row: a QGroupBox, QLabel, QLineEdit, a
// MultiLineTextBox (a QPlainTextEdit), a ScrollSlider, QPushButton, QCheckBox,
// or a QFrame filled with its background colour.
enum class ControlKind
{
    GroupBox,
    Label,
    LineEdit,
    PlainTextEdit,
    Slider,
    PushButton,
    CheckBox,
    ColorSwatch
};

// A control and its tab index, the place it takes in the keyboard focus chain.
struct TabStop
{
    int index;
    QWidget *control;
};

// Chains keyboard focus through `stops` by tab index; controls that take no
// focus are passed over.
void chainFocus(std::vector<TabStop> stops);

// One control of a window as designed: its name (also its objectName), kind,
// container (nullptr for the window itself), twips rectangle relative to the
// container's outer top-left corner, caption or initial text, tooltip, tab
// index (-1 for none), and the member of the window's Controls that keeps it.
// Texts are UTF-8.
template <typename Controls> struct ControlRow
{
    const char *name;
    ControlKind kind;
    const char *parent;
    TwipsRect rect;
    const char *caption = "";
    const char *tooltip = "";
    int tabIndex = -1;
    void (*keep)(Controls &, QWidget *) = nullptr;
};

namespace detail {
template <typename M> struct ClassOf;
template <typename C, typename T> struct ClassOf<T C::*>
{
    using Type = C;
};
// A table that keeps a control in a member of another class stops the
// program where the window is built, not later where the member is used.
template <typename Slot> void put(Slot &slot, QWidget *w)
{
    slot = qobject_cast<Slot>(w);
    if (!slot)
        qFatal("%s is not a %s", qPrintable(w->objectName()),
               std::remove_pointer_t<Slot>::staticMetaObject.className());
}
template <auto Step, auto... Rest, typename Where> void put(Where &where, QWidget *w)
{
    if constexpr (std::is_integral_v<decltype(Step)>)
        put<Rest...>(where[Step], w);
    else
        put<Rest...>(where.*Step, w);
}
} // namespace detail

// A row's keep: the control goes where the path leads from a window's
// Controls, through members and array indices, to a pointer of the control's
// own class: into<&C::okButton>, into<&C::labels, 2>.
template <auto Member, auto... Rest>
void into(typename detail::ClassOf<decltype(Member)>::Type &controls, QWidget *w)
{
    detail::put<Member, Rest...>(controls, w);
}

// Makes one control of `kind` on `container`, named and placed as designed.
QWidget *makeControl(QWidget *container, const char *name, ControlKind kind, const TwipsRect &rect,
                     const char *caption, const char *tooltip);

// What a window's table built: the controls by their members, and where
// each stands in the tab order.
template <typename Controls> struct BuiltControls
{
    Controls controls{};
    std::vector<TabStop> tabStops;
    std::vector<QWidget *> all; // in the table's order
};

// Builds the controls of `table` in order on `window` (containers before
// their children), keeps each in its member and chains the keyboard focus
// through them by tab index.
template <typename Controls>
BuiltControls<Controls> buildControls(QWidget *window, std::span<const ControlRow<Controls>> table)
{
    BuiltControls<Controls> built;
    for (const ControlRow<Controls> &row : table) {
        QWidget *container = window;
        for (size_t i = 0; row.parent && i < built.all.size(); ++i) {
            if (std::strcmp(table[i].name, row.parent) == 0)
                container = built.all[i];
        }
        QWidget *w = makeControl(container, row.name, row.kind, row.rect, row.caption, row.tooltip);
        built.all.push_back(w);
        if (row.keep)
            row.keep(built.controls, w);
        if (row.tabIndex >= 0)
            built.tabStops.push_back({row.tabIndex, w});
    }
    chainFocus(built.tabStops);
    return built;
}

} // namespace tintavo
