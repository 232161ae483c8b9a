#pragma once

#include "platform/desktop_picking.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

class QDBusPendingCallWatcher;

namespace tintavo::portal {

// How long a method call may take before it counts as unanswered; the portal
// answers at once and does its work later.
inline constexpr int kCallTimeoutMs = 5000;

// The outcome of a failed D-Bus call: Missing when nobody serves the name,
// object, interface or method; NoAnswer on a time-out; Failed otherwise.
PickOutcome outcomeOfError(const QDBusMessage &reply);

// Starts an asynchronous Properties.Get of an interface's "version" on the
// portal; the reply carries the version as a variant.
QDBusPendingCall fetchVersion(const QDBusConnection &bus, const QString &interface);

// One portal call that answers through a Request object: the call's reply
// only names the object, and the result comes later as its Response signal.
// The Response is subscribed on the expected path before the call is sent,
// so an answer that comes before the reply is not lost. Used once.
class PortalRequest : public QObject
{
    Q_OBJECT

public:
    PortalRequest(const QDBusConnection &bus, int responseTimeoutMs, QObject *parent = nullptr);
    // An unanswered request is closed, so the portal drops its dialog.
    ~PortalRequest() override;

    // Sends the call after adding handle_token to its options (the last
    // argument, a{sv}).
    void send(QDBusMessage call);

signals:
    // Exactly once per send(): the Response's results on Success.
    void finished(tintavo::PickOutcome outcome, const QVariantMap &results);

private slots:
    void onResponse(uint response, const QVariantMap &results);

private:
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
