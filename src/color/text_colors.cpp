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
    colors.setColor(QPalette::WindowText, ink);
    colors.setColor(QPalette::Base, paper);
    // The style shades the box's frame line from the window colour, and its
    // bevels from the four below: the line is a darker tone of the paper
    // rather than the window's grey.
    colors.setColor(QPalette::Window, paper);
    colors.setColor(QPalette::Light, paper.lighter(115));
    colors.setColor(QPalette::Midlight, paper.lighter(107));
    colors.setColor(QPalette::Dark, paper.darker(150));
    colors.setColor(QPalette::Shadow, paper.darker(300));
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
