#include "platform/portal/portal_request.h"

#include "platform/portal/portal_types.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

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

void closePortalObject(const QDBusConnection &bus, const QString &path, const QString &interface)
{
    bus.asyncCall(QDBusMessage::createMethodCall(QLatin1String(kService), path, interface,
                                                 QStringLiteral("Close")),
                  kCallTimeoutMs);
}

void registerWithPortal(const QDBusConnection &bus, const QString &appId)
{
    static bool sent = false;
    if (sent || appId.isEmpty() || !bus.isConnected())
        return;
    sent = true;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kDesktopPath),
        QStringLiteral("org.freedesktop.host.portal.Registry"), QStringLiteral("Register"));
    call << appId << QVariantMap();
    bus.asyncCall(call, kCallTimeoutMs);
}

void requireVersion(const QDBusConnection &bus, const QString &interface, uint minimum,
                    QObject *context, std::function<void(PickOutcome)> done)
{
    if (!bus.isConnected()) {
        QMetaObject::invokeMethod(
            context, [done] { done(PickOutcome::Missing); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage get =
        QDBusMessage::createMethodCall(QLatin1String(kService), QLatin1String(kDesktopPath),
                                       QLatin1String(kProperties), QStringLiteral("Get"));
    get << interface << QStringLiteral("version");
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(get, kCallTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [minimum, done](QDBusPendingCallWatcher *w) {
                         w->deleteLater();
                         const QDBusPendingReply<QDBusVariant> reply = *w;
                         if (reply.isError())
                             done(outcomeOfError(reply.reply()));
                         else if (reply.value().variant().toUInt() < minimum)
                             done(PickOutcome::TooOld);
                         else
                             done(PickOutcome::Success);
                     });
}

PortalRequest *PortalRequest::send(const QDBusConnection &bus, int responseTimeoutMs,
                                   QObject *context, const QString &interface,
                                   const QString &method, QVariantList arguments, Done done)
{
    auto *request = new PortalRequest(bus, responseTimeoutMs, context);
    connect(request, &PortalRequest::finished, context,
            [request, done](PickOutcome outcome, const QVariantMap &results) {
                request->deleteLater();
                done(outcome, results);
            });
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kDesktopPath), interface, method);
    call.setArguments(arguments);
    request->start(call);
    return request;
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
    if (!m_path.isEmpty())
        closePortalObject(m_bus, m_path, QLatin1String(kRequest));
}

void PortalRequest::start(QDBusMessage call)
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
    // 1 is the user's cancel. Back ends answer 2 ("ended some other way")
    // for a pick called off with Escape and for one that failed (wlroots'
    // on an output at scale 2) alike, so it claims neither.
    if (response == 0)
        finish(PickOutcome::Success, results);
    else if (response == 1)
        finish(PickOutcome::Cancelled);
    else if (response == 2)
        finish(PickOutcome::Ended);
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
