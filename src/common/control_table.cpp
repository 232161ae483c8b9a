#include "common/control_table.h"

#include "common/scroll_slider.h"
#include "common/text_box.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace tintavo {

namespace {

QWidget *create(ControlKind kind, const QString &caption, QWidget *container)
{
    switch (kind) {
    case ControlKind::GroupBox:
        return new QGroupBox(caption, container);
    case ControlKind::Label:
        return new QLabel(caption, container);
    case ControlKind::LineEdit:
        return new QLineEdit(caption, container);
    case ControlKind::PlainTextEdit: {
        auto *box = new MultiLineTextBox(caption, container);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return box;
    }
    case ControlKind::Slider:
        return new ScrollSlider(container);
    case ControlKind::PushButton:
        return new QPushButton(caption, container);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, container);
    case ControlKind::ColorSwatch: {
        auto *box = new QFrame(container);
        box->setAutoFillBackground(true);
        return box;
    }
    }
    return nullptr;
}

} // namespace

QWidget *makeControl(QWidget *container, const char *name, ControlKind kind, const TwipsRect &rect,
                     const char *caption, const char *tooltip)
{
    QWidget *w = create(kind, QString::fromUtf8(caption ? caption : ""), container);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(toPixels(rect));
    if (tooltip && *tooltip)
        w->setToolTip(QString::fromUtf8(tooltip));
    return w;
}

void chainFocus(std::vector<TabStop> stops)
{
    std::ranges::stable_sort(stops, {}, &TabStop::index);
    QWidget *previous = nullptr;
    for (const TabStop &stop : stops) {
        if (stop.control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, stop.control);
        previous = stop.control;
    }
}

} // namespace tintavo
