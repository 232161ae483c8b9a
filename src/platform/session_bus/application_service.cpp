#include "platform/session_bus/application_service.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace tintavo {

namespace {

constexpr char kInterface[] = "org.freedesktop.Application";
// RequestName's flag and its answer for a name now ours.
constexpr uint kDoNotQueue = 4;
constexpr uint kPrimaryOwner = 1;

} // namespace

// The interface as the desktop calls it; platform data (startup ids,
// activation tokens) is not needed to act.
class ApplicationAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    explicit ApplicationAdaptor(ApplicationService *service)
        : QDBusAbstractAdaptor(service), m_service(service)
    {
    }

public slots:
    void Activate(const QVariantMap &) { emit m_service->activated(); }
    // Tintavo opens no documents: being asked to is being started again.
    void Open(const QStringList &, const QVariantMap &) { emit m_service->activated(); }
    void ActivateAction(const QString &name, const QVariantList &, const QVariantMap &)
    {
        if (!m_service->m_actions.contains(name)) {
            m_service->sendErrorReply(QDBusError::InvalidArgs,
                                      QStringLiteral("Tintavo has no action \"%1\"").arg(name));
            return;
        }
        emit m_service->actionRequested(name);
    }

private:
    ApplicationService *m_service;
};

QString applicationObjectPath(const QString &appId)
{
    QString path = u'/' + appId;
    path.replace(u'.', u'/').replace(u'-', u'_');
    return path;
}

ApplicationService::ApplicationService(const QDBusConnection &bus, const QString &appId,
                                       const QStringList &actions, QObject *parent)
    : AppActivation(parent), m_bus(bus), m_appId(appId), m_actions(actions)
{
    new ApplicationAdaptor(this);
}

ApplicationService::~ApplicationService()
{
    if (m_registered)
        m_bus.unregisterObject(applicationObjectPath(m_appId));
}

void ApplicationService::publish()
{
    if (m_registered || !m_bus.isConnected())
        return;
    // The object first: a call may follow the name at once.
    m_registered =
        m_bus.registerObject(applicationObjectPath(m_appId), this, QDBusConnection::ExportAdaptors);
    if (!m_registered)
        return;
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << m_appId << kDoNotQueue;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(request), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        m_published = !reply.isError() && reply.value() == kPrimaryOwner;
        // Another copy has the name: calls go there, not to this object.
        if (!m_published) {
            m_bus.unregisterObject(applicationObjectPath(m_appId));
            m_registered = false;
        }
        emit publishDone(m_published);
    });
}

Forwarded forwardActionOn(const QDBusConnection &bus, const QString &appId, const QString &action,
                          int timeoutMs)
{
    if (!bus.isConnected())
        return Forwarded::NoCopy;
    QDBusMessage call =
        QDBusMessage::createMethodCall(appId, applicationObjectPath(appId),
                                       QLatin1String(kInterface), QStringLiteral("ActivateAction"));
    call << action << QVariant::fromValue(QVariantList()) << QVariant::fromValue(QVariantMap());
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return Forwarded::Delivered;
    const QDBusError::ErrorType error = QDBusError(reply).type();
    // Nobody has the name, and the bus knows nothing to start for it.
    if (error == QDBusError::ServiceUnknown ||
        QDBusError(reply).name() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return Forwarded::NoCopy;
    return Forwarded::Refused;
}

std::unique_ptr<AppActivation> createAppActivation(const QString &appId, const QStringList &actions)
{
    return std::make_unique<ApplicationService>(QDBusConnection::sessionBus(), appId, actions);
}

Forwarded forwardAction(const QString &appId, const QString &action)
{
    // Long enough for the desktop to start a copy and for it to show itself.
    constexpr int kStartTimeoutMs = 30000;
    return forwardActionOn(QDBusConnection::sessionBus(), appId, action, kStartTimeoutMs);
}

} // namespace tintavo

#include "application_service.moc"
