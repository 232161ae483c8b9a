#include "platform/portal/portal_request.h"

#include "platform/portal/portal_types.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace tintavo::portal {

PickOutcome outcomeOfError(const QDBusMessage &reply)
{
    switch (QDBusError(reply).type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownProperty:
    case QDBusError::InvalidArgs:
        return PickOutcome::Missing;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return PickOutcome::NoAnswer;
    default:
        return PickOutcome::Failed;
    }
}

QDBusPendingCall fetchVersion(const QDBusConnection &bus, const QString &interface)
{
    QDBusMessage get =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kDesktopPath),
                                       QLatin1String(kProperties), QStringLiteral("Get"));
    get << interface << QStringLiteral("version");
    return bus.asyncCall(get, kCallTimeoutMs);
}

PortalRequest::PortalRequest(const QDBusConnection &bus, int responseTimeoutMs, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    registerPortalTypes();
    m_responseTimer.setSingleShot(true);
    m_responseTimer.setInterval(responseTimeoutMs);
    connect(&m_responseTimer, &QTimer::timeout, this, [this] { finish(PickOutcome::NoAnswer); });
}

PortalRequest::~PortalRequest()
{
    if (!m_done)
        closeRequest();
    unsubscribe();
}

void PortalRequest::closeRequest()
{
    if (m_path.isEmpty())
        return;
    m_bus.asyncCall(QDBusMessage::createMethodCall(QLatin1String(kService), m_path,
                                                   QLatin1String(kRequest),
                                                   QStringLiteral("Close")),
                    kCallTimeoutMs);
}

void PortalRequest::send(QDBusMessage call)
{
    const QString token = newToken();
    subscribe(handlePath(QStringLiteral("request"), m_bus.baseService(), token));

    QList<QVariant> arguments = call.arguments();
    QVariantMap options = arguments.isEmpty() ? QVariantMap() : arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    call.setArguments(arguments);

    // The time-out covers the call and the wait for the Response both.
    m_responseTimer.start();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *w) { onReply(w); });
}

void PortalRequest::onReply(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    if (m_done)
        return;
    const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
    if (reply.isError()) {
        finish(outcomeOfError(reply.reply()));
        return;
    }
    // Portals older than the handle_token rule put the Request elsewhere.
    const QString path = reply.value().path();
    if (path != m_path) {
        unsubscribe();
        subscribe(path);
    }
}

void PortalRequest::onResponse(uint response, const QVariantMap &results)
{
    if (response == 0)
        finish(PickOutcome::Success, results);
    else if (response == 1)
        finish(PickOutcome::Cancelled);
    else
        finish(PickOutcome::Failed);
}

void PortalRequest::subscribe(const QString &path)
{
    m_path = path;
    m_bus.connect(QLatin1String(kService), path, QLatin1String(kRequest),
                  QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::unsubscribe()
{
    if (!m_path.isEmpty())
        m_bus.disconnect(QLatin1String(kService), m_path, QLatin1String(kRequest),
                         QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::finish(PickOutcome outcome, const QVariantMap &results)
{
    if (m_done)
        return;
    m_done = true;
    m_responseTimer.stop();
    // A request that timed out is closed so the portal drops its dialog.
    if (outcome == PickOutcome::NoAnswer)
        closeRequest();
    unsubscribe();
    emit finished(outcome, results);
}

} // namespace tintavo::portal
