#include "app/desktop_activation.h"

#include "cli/command_line.h"
#include "mainwin/main_window.h"
#include "platform/app_activation.h"

#include <QEvent>
#include <QTimer>

namespace tintavo {

namespace {

void runAction(MainWindow &window, const QString &action)
{
    if (action == QLatin1String(kCaptureAction))
        window.captureColor();
    else if (action == QLatin1String(kFreezeAction))
        window.freezeScreen();
}

// Calls `then` once, on the event loop, after the watched widget's first
// paint; deletes itself then.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *widget, std::function<void()> then)
        : QObject(widget), m_then(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, parent(), m_then);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

std::optional<int> forwardToRunningCopy(const QString &action)
{
    switch (forwardAction(QStringLiteral(TINTAVO_APP_ID), action)) {
    case Forwarded::Delivered:
        return 0;
    case Forwarded::NoCopy:
        return std::nullopt;
    case Forwarded::Refused:
        break;
    }
    printLine(stderr, hint("运行中的 Tintavo 没有接受 %1（没有应答或出错）。",
                           "The running Tintavo did not take %1 (no answer, or an error).")
                          .arg(QStringLiteral("--") + action));
    return 2;
}

void serveDesktopActivation(MainWindow &window, const QString &pendingAction)
{
    new AfterFirstPaint(&window, [&window, pendingAction] {
        AppActivation *activation =
            createAppActivation(QStringLiteral(TINTAVO_APP_ID),
                                {QLatin1String(kCaptureAction), QLatin1String(kFreezeAction)})
                .release();
        activation->setParent(&window);
        QObject::connect(activation, &AppActivation::activated, &window, &MainWindow::comeForward);
        QObject::connect(activation, &AppActivation::actionRequested, &window,
                         [&window](const QString &action) { runAction(window, action); });
        activation->publish();
        if (!pendingAction.isEmpty())
            runAction(window, pendingAction);
    });
}

} // namespace tintavo
