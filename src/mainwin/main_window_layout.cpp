// The main window's geometry: its controls laid out by the layout rule for
// the size it has, scrolled where the screen is smaller than they need, and
// the window kept on a screen.
#include "mainwin/main_window.h"

#include "colorbox/swatch_grid.h"
#include "colorbox/swatch_view.h"
#include "common/twips.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <tuple>

namespace tintavo {

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOutControls();
}

void MainWindow::layOutControls()
{
    // The client area, not the outer frame, drives the rule, so the layout is
    // the same whatever borders a window manager draws, or none. Where it is
    // smaller than the controls need (a small screen), they keep that size
    // and scroll.
    const QSize least(twipsToPixels(kLeastClientWidth), twipsToPixels(kLeastClientHeight));
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    bool wide = width() < least.width(), tall = height() < least.height();
    wide = wide || (tall && width() - bar < least.width());
    tall = tall || (wide && height() - bar < least.height());
    const QSize view(width() - (tall ? bar : 0), height() - (wide ? bar : 0));
    const QSize content = view.expandedTo(least);
    m_hScroll->setGeometry(0, view.height(), view.width(), bar);
    m_vScroll->setGeometry(view.width(), 0, bar, view.height());
    for (const auto &[scroll, shown, extra, page] :
         {std::tuple{m_hScroll, wide, content.width() - view.width(), view.width()},
          std::tuple{m_vScroll, tall, content.height() - view.height(), view.height()}}) {
        scroll->setRange(0, extra);
        scroll->setPageStep(page);
        scroll->setSingleStep(20);
        scroll->setVisible(shown);
        scroll->raise();
    }
    const QPoint offset(-m_hScroll->value(), -m_vScroll->value());
    const ResizeResult r = tintavo::resizedLayout(pixelsToTwips(content.width()),
                                                  pixelsToTwips(content.height()), m_layout);
    m_layout = r.layout;
    m_controls.editors.previewFrame->setGeometry(
        toPixels(m_layout.previewFrame).translated(offset));
    m_controls.editors.preview->setGeometry(toPixels(m_layout.preview));
    m_controls.editors.foregroundFrame->setGeometry(
        toPixels(m_layout.foregroundFrame).translated(offset));
    m_controls.editors.backgroundFrame->setGeometry(
        toPixels(m_layout.backgroundFrame).translated(offset));
    m_controls.commandFrame->setGeometry(toPixels(m_layout.commandFrame).translated(offset));
    m_controls.colorBoxFrame->setGeometry(toPixels(m_layout.colorBoxFrame).translated(offset));
    m_controls.editors.codeLine->setGeometry(toPixels(m_layout.codeLine));
    m_swatchView->arrange(swatchColumns(r.colorBoxWidth));
}

void MainWindow::scrollToShow(const QWidget *control)
{
    const QRect at(control->mapTo(this, QPoint()), control->size());
    // Its far edge into view, then its near one, which wins where it is larger.
    const auto follow = [](QScrollBar *scroll, int from, int to, int view) {
        const int shift = from - std::max(0, to - view) < 0 ? from : std::max(0, to - view);
        scroll->setValue(scroll->value() + shift);
    };
    follow(m_hScroll, at.left(), at.right() + 1, m_hScroll->width());
    follow(m_vScroll, at.top(), at.bottom() + 1, m_vScroll->height());
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        keepOnScreen();
}

void MainWindow::keepOnScreen()
{
    // The picker minimises and maximises this window over and over; a window
    // manager that animates minimising moves the frame below the screen while
    // it does, and a restore caught in between may keep that place. A window
    // back in its normal state is brought onto the screen it is nearest.
    const QRect frame = frameGeometry();
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool seen = std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen *s) {
        const QRect shown = s->availableGeometry() & frame;
        return shown.width() >= 100 && shown.height() >= 50;
    });
    if (seen || screens.isEmpty())
        return;
    const QScreen *nearest = QGuiApplication::screenAt(frame.center());
    if (!nearest)
        nearest = QGuiApplication::primaryScreen();
    const QRect area = nearest->availableGeometry();
    move(std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() - frame.width())),
         std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
}

} // namespace tintavo
