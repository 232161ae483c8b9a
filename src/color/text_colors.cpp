#include "color/text_colors.h"

#include "color/qt_color.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPalette>
#include <QScrollBar>

namespace tintavo {

namespace {

// Every role fixed to the application's colours, so that none is taken over
// from the box around it.
void keepApplicationColors(QWidget *widget)
{
    QPalette own = QApplication::palette(widget);
    own.setResolveMask(~QPalette::ResolveMask{});
    widget->setPalette(own);
}

} // namespace

void showTextColors(QWidget *box, Rgb text, Rgb background)
{
    const QColor ink = toQColor(text);
    const QColor paper = toQColor(background);
    QPalette colors = box->palette();
    colors.setColor(QPalette::Text, ink);
    colors.setColor(QPalette::Base, paper);
    // The style shades the box's frame line from the window colour: the line
    // is a darker tone of the paper rather than the window's grey.
    colors.setColor(QPalette::Window, paper);
    box->setPalette(colors);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(box)) {
        // A band left free above the text area is paper too.
        area->setAutoFillBackground(true);
        // The scroll bars look like every other scroll bar, whatever the paper.
        keepApplicationColors(area->horizontalScrollBar());
        keepApplicationColors(area->verticalScrollBar());
    }
}

} // namespace tintavo
