#include "platform/portal/portal_global_shortcuts.h"

#include "platform/portal/portal_types.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace tintavo::portal {

PortalGlobalShortcuts::PortalGlobalShortcuts(const QDBusConnection &bus, int responseTimeoutMs,
                                             QObject *parent)
    : QObject(parent), m_bus(bus), m_responseTimeoutMs(responseTimeoutMs)
{
    registerPortalTypes();
}

PortalGlobalShortcuts::~PortalGlobalShortcuts()
{
    close();
}

void PortalGlobalShortcuts::bind(const QString &id, const QString &description,
                                 const QString &preferredTrigger, const QString &parentWindow)
{
    m_id = id;
    m_description = description;
    m_trigger = preferredTrigger;
    m_parentWindow = parentWindow;
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [this] { finishBinding(PickOutcome::Missing); }, Qt::QueuedConnection);
        return;
    }
    auto *watcher =
        new QDBusPendingCallWatcher(fetchVersion(m_bus, QLatin1String(kGlobalShortcuts)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (reply.isError())
            finishBinding(outcomeOfError(reply.reply()));
        else if (reply.value().variant().toUInt() < 1)
            finishBinding(PickOutcome::TooOld);
        else
            createSession();
    });
}

void PortalGlobalShortcuts::createSession()
{
    const QString token = newToken();
    m_sessionPath = handlePath(QStringLiteral("session"), m_bus.baseService(), token);
    auto *request = new PortalRequest(m_bus, m_responseTimeoutMs, this);
    m_request = request;
    connect(request, &PortalRequest::finished, this,
            [this, request](PickOutcome outcome, const QVariantMap &results) {
                request->deleteLater();
                if (outcome != PickOutcome::Success) {
                    finishBinding(outcome);
                    return;
                }
                // Documented as a string; some portals send an object path.
                const QVariant handle = results.value(QStringLiteral("session_handle"));
                const QString path = handle.canConvert<QDBusObjectPath>()
                                         ? handle.value<QDBusObjectPath>().path()
                                         : handle.toString();
                if (!path.isEmpty())
                    m_sessionPath = path;
                bindShortcut();
            });
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kDesktopPath), QLatin1String(kGlobalShortcuts),
        QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("session_handle_token"), token}};
    m_request->send(call);
}

void PortalGlobalShortcuts::bindShortcut()
{
    // Listening before the binding is answered: a press may follow at once.
    m_listening =
        m_bus.connect(QLatin1String(kService), QLatin1String(kDesktopPath),
                      QLatin1String(kGlobalShortcuts), QStringLiteral("Activated"), this,
                      SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    auto *request = new PortalRequest(m_bus, m_responseTimeoutMs, this);
    m_request = request;
    connect(request, &PortalRequest::finished, this,
            [this, request](PickOutcome outcome, const QVariantMap &) {
                request->deleteLater();
                finishBinding(outcome);
            });
    const QList<PortalShortcut> shortcuts{{m_id,
                                           {{QStringLiteral("description"), m_description},
                                            {QStringLiteral("preferred_trigger"), m_trigger}}}};
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(kService), QLatin1String(kDesktopPath), QLatin1String(kGlobalShortcuts),
        QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_sessionPath)) << QVariant::fromValue(shortcuts)
         << m_parentWindow << QVariantMap();
    m_request->send(call);
}

void PortalGlobalShortcuts::finishBinding(PickOutcome outcome)
{
    if (outcome != PickOutcome::Success)
        close();
    emit bound(outcome);
}

void PortalGlobalShortcuts::onActivated(const QDBusObjectPath &session, const QString &id,
                                        qulonglong, const QVariantMap &)
{
    if (session.path() == m_sessionPath && id == m_id)
        emit activated();
}

void PortalGlobalShortcuts::close()
{
    if (m_request) {
        // Dropped without a word: the caller is done with the binding.
        m_request->disconnect(this);
        m_request->deleteLater();
    }
    if (m_listening) {
        m_bus.disconnect(QLatin1String(kService), QLatin1String(kDesktopPath),
                         QLatin1String(kGlobalShortcuts), QStringLiteral("Activated"), this,
                         SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        m_listening = false;
    }
    if (m_sessionPath.isEmpty())
        return;
    // Sent even while CreateSession is unanswered: the session will be at
    // this path, and a portal closes what it has not yet created as a no-op.
    m_bus.asyncCall(QDBusMessage::createMethodCall(QLatin1String(kService), m_sessionPath,
                                                   QLatin1String(kSession),
                                                   QStringLiteral("Close")),
                    kCallTimeoutMs);
    m_sessionPath.clear();
}

} // namespace tintavo::portal
