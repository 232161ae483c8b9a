#pragma once

#include "platform/desktop_picking.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>

class QDBusPendingCallWatcher;

namespace tintavo::portal {

// How long a method call may take before it counts as unanswered; the portal
// answers at once and does its work later.
inline constexpr int kCallTimeoutMs = 5000;

// The outcome of a failed D-Bus call: Missing when nobody serves the name,
// object, interface or method; NoAnswer on a time-out; Failed otherwise.
PickOutcome outcomeOfError(const QDBusMessage &reply);

// Asks the portal to close one of its objects (a Request or a Session),
// without waiting for the answer.
void closePortalObject(const QDBusConnection &bus, const QString &path, const QString &interface);

// Names the program to the portal by its application id, once per process
// and before anything else is asked of it, where the portal has the host
// registry (xdg-desktop-portal 1.18 on): its permission dialogs and the
// grants they store are then Tintavo's, not every unsandboxed program's. An
// older portal refuses the call; nothing waits for the answer.
void registerWithPortal(const QDBusConnection &bus, const QString &appId);

// Reads an interface's "version" from the portal and tells done, always after
// the call returns: Success when it is at least minimum, TooOld when lower,
// or why the portal could not be asked. A portal too old for a method may
// answer it only with UnknownMethod after the call, and some not at all.
void requireVersion(const QDBusConnection &bus, const QString &interface, uint minimum,
                    QObject *context, std::function<void(PickOutcome)> done);

// One portal call that answers through a Request object: the call's reply
// only names the object, and the result comes later as its Response signal.
// The Response is subscribed on the expected path before the call is sent,
// so an answer that comes before the reply is not lost. Used once.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    // An unanswered request is closed, so the portal drops its dialog.
    ~PortalRequest() override;

    using Done = std::function<void(PickOutcome, const QVariantMap &)>;

    // Calls interface.method on the portal's desktop object with handle_token
    // added to the options (the last argument, a{sv}). done hears the outcome
    // once; then the request deletes itself. It is a child of context, which
    // may delete it earlier to drop it unanswered.
    static PortalRequest *send(const QDBusConnection &bus, int responseTimeoutMs, QObject *context,
                               const QString &interface, const QString &method,
                               QVariantList arguments, Done done);

signals:
    // Exactly once: the Response's results on Success.
    void finished(tintavo::PickOutcome outcome, const QVariantMap &results);

private slots:
    void onResponse(uint response, const QVariantMap &results);

private:
    PortalRequest(const QDBusConnection &bus, int responseTimeoutMs, QObject *parent);
    void start(QDBusMessage call);
    void onReply(QDBusPendingCallWatcher *watcher);
    void subscribe(const QString &path);
    void unsubscribe();
    void closeRequest();
    void finish(PickOutcome outcome, const QVariantMap &results = {});

    QDBusConnection m_bus;
    QString m_path;
    QTimer m_responseTimer;
    bool m_done = false;
};

} // namespace tintavo::portal
