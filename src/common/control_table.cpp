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

QWidget *create(const ControlSpec &item, QWidget *container)
{
    const QString caption = QString::fromUtf8(item.caption);
    switch (item.kind) {
    case ControlKind::Frame:
        return new QGroupBox(caption, container);
    case ControlKind::Label:
        return new QLabel(caption, container);
    case ControlKind::TextBox:
        return new QLineEdit(caption, container);
    case ControlKind::MultiLineTextBox: {
        auto *box = new MultiLineTextBox(caption, container);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return box;
    }
    case ControlKind::Slider:
        return new ScrollSlider(container);
    case ControlKind::CommandButton:
        return new QPushButton(caption, container);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, container);
    case ControlKind::PictureBox: {
        auto *box = new QFrame(container);
        box->setAutoFillBackground(true);
        return box;
    }
    }
    return nullptr;
}

} // namespace

QHash<QString, QWidget *> buildControls(QWidget *window, std::span<const ControlSpec> table)
{
    QHash<QString, QWidget *> made;
    QList<QWidget *> ordered;
    for (const ControlSpec &item : table) {
        QWidget *container = item.parent ? made.value(QString::fromLatin1(item.parent)) : window;
        Q_ASSERT_X(container, "buildControls", item.name);
        QWidget *w = create(item, container);
        w->setObjectName(QString::fromLatin1(item.name));
        w->setGeometry(toPixels(item.rect));
        if (*item.tooltip)
            w->setToolTip(QString::fromUtf8(item.tooltip));
        w->setProperty("tabIndex", item.tabIndex);
        made.insert(w->objectName(), w);
        if (item.tabIndex >= 0)
            ordered << w;
    }
    applyTabOrder(ordered);
    return made;
}

QWidget *builtControl(const QHash<QString, QWidget *> &built, const char *name,
                      const QMetaObject &type)
{
    QWidget *w = built.value(QString::fromLatin1(name));
    if (!w || !type.cast(w))
        qFatal("no control %s of type %s in the table", name, type.className());
    return w;
}

void applyTabOrder(QList<QWidget *> widgets)
{
    std::stable_sort(widgets.begin(), widgets.end(), [](QWidget *a, QWidget *b) {
        return a->property("tabIndex").toInt() < b->property("tabIndex").toInt();
    });
    QWidget *previous = nullptr;
    for (QWidget *w : widgets) {
        if (w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

} // namespace tintavo
