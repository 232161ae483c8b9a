#include "common/screen_fit.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace tintavo {

namespace {

// How long after a window is shown the window manager's placing of it is
// still watched for.
constexpr int kSettleMs = 2000;
const char kSettling[] = "tintavoPlacing";

QMargins frameOf(const QWidget *window)
{
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

class ScreenFit : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Show && type != QEvent::Move) || !watched->isWidgetType())
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (!window->isWindow())
            return false;
        if (type == QEvent::Show) {
            // The window manager places the window after this, where it sees
            // fit (on a small screen, partly off it), and only then is its
            // frame known: its first moves are watched too.
            window->setProperty(kSettling, true);
            QTimer::singleShot(kSettleMs, window,
                               [window] { window->setProperty(kSettling, QVariant()); });
        }
        if (window->property(kSettling).toBool())
            fit(window);
        return false;
    }

private:
    static void fit(QWidget *window)
    {
        const Qt::WindowType type = window->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen ||
            window->isMaximized() || window->isFullScreen() || window->isMinimized() ||
            (window->windowFlags() & Qt::X11BypassWindowManagerHint))
            return;
        QWidget *anchor = window->parentWidget() ? window->parentWidget()->window()
                                                 : QApplication::activeWindow();
        if (!anchor || !anchor->isVisible())
            anchor = window;
        const QScreen *screen = anchor->screen();
        if (!screen)
            return;
        // Its own frame once it has one, else the anchor's, else a guess.
        QMargins frame = frameOf(window);
        if (frame.isNull())
            frame = frameOf(anchor);
        if (frame.isNull())
            frame = QMargins(4, window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 4, 4);
        const QRect area = screen->availableGeometry();
        const QSize size =
            window->size().boundedTo(area.size().shrunkBy(frame)).expandedTo(window->minimumSize());
        // Where the frame goes: a window manager puts the frame, not the
        // window, where a program asks.
        QRect outer(window->pos(), size.grownBy(frame));
        if (size == window->size() && area.contains(outer))
            return;
        outer.moveLeft(std::clamp(outer.left(), area.left(),
                                  std::max(area.left(), area.right() + 1 - outer.width())));
        outer.moveTop(std::clamp(outer.top(), area.top(),
                                 std::max(area.top(), area.bottom() + 1 - outer.height())));
        window->resize(size);
        window->move(outer.topLeft());
    }
};

} // namespace

void keepWindowsOnScreen(QApplication &app)
{
    app.installEventFilter(new ScreenFit(&app));
}

} // namespace tintavo
