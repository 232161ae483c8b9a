#include "platform/portal/portal_global_shortcuts.h"

#include "platform/portal/portal_types.h"

#include <algorithm>
#include <optional>

namespace tintavo::portal {

namespace {

constexpr char kSessionToken[] = "tintavo";

// Listed in a portal's answer, or absent (nullopt): listed with an empty
// trigger means the desktop took the shortcut but gave it no key.
std::optional<bool> listedShortcut(const QVariantMap &results, const QString &id)
{
    const QVariant shortcuts = results.value(QStringLiteral("shortcuts"));
    if (!shortcuts.canConvert<QDBusArgument>() ||
        shortcuts.value<QDBusArgument>().currentSignature() != QLatin1String("a(sa{sv})"))
        return std::nullopt;
    const auto listed = qdbus_cast<QList<PortalShortcut>>(shortcuts);
    const auto it = std::find_if(listed.cbegin(), listed.cend(),
                                 [&id](const PortalShortcut &s) { return s.id == id; });
    if (it == listed.cend())
        return std::nullopt;
    const QVariant trigger = it->options.value(QStringLiteral("trigger_description"));
    return !trigger.isValid() || !trigger.toString().isEmpty();
}

QList<PortalShortcut> oneShortcut(const QString &id, const QString &description,
                                  const QString &trigger)
{
    return {{id,
             {{QStringLiteral("description"), description},
              {QStringLiteral("preferred_trigger"), trigger}}}};
}

} // namespace

bool bindsShortcut(const QVariantMap &results, const QString &id)
{
    return listedShortcut(results, id).value_or(false);
}

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
    requireVersion(m_bus, QLatin1String(kGlobalShortcuts), 1, this, [this](PickOutcome outcome) {
        if (outcome == PickOutcome::Success)
            createSession();
        else
            finishBinding(outcome);
    });
}

void PortalGlobalShortcuts::createSession()
{
    // One name for every session: KDE Plasma 5.27 files the shortcut under
    // it, so a key the user sets there is found again next time.
    m_sessionPath =
        handlePath(QStringLiteral("session"), m_bus.baseService(), QLatin1String(kSessionToken));
    // Listening first: a press may follow the binding at once. The slot takes
    // the whole message: QtDBus cannot connect a slot naming QDBusObjectPath
    // before that type has been used once in the process.
    m_listening = m_bus.connect(QLatin1String(kService), QLatin1String(kDesktopPath),
                                QLatin1String(kGlobalShortcuts), QStringLiteral("Activated"), this,
                                SLOT(onActivated(QDBusMessage)));
    // The shortcut rides along: KDE Plasma 5.27 binds what the session is
    // created with, and its BindShortcuts only opens the shortcut settings.
    // Other portals drop the option.
    const QVariantMap options{
        {QStringLiteral("session_handle_token"), QLatin1String(kSessionToken)},
        {QStringLiteral("shortcuts"),
         QVariant::fromValue(oneShortcut(m_id, m_description, m_trigger))}};
    m_request = PortalRequest::send(
        m_bus, m_responseTimeoutMs, this, QLatin1String(kGlobalShortcuts),
        QStringLiteral("CreateSession"), {options},
        [this](PickOutcome outcome, const QVariantMap &results) {
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
            if (const std::optional<bool> bound = listedShortcut(results, m_id))
                finishBinding(*bound ? PickOutcome::Success : PickOutcome::Ended);
            else
                bindShortcut();
        });
}

void PortalGlobalShortcuts::bindShortcut()
{
    m_request = PortalRequest::send(
        m_bus, m_responseTimeoutMs, this, QLatin1String(kGlobalShortcuts),
        QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(m_sessionPath)),
         QVariant::fromValue(oneShortcut(m_id, m_description, m_trigger)), m_parentWindow,
         QVariantMap()},
        [this](PickOutcome outcome, const QVariantMap &results) {
            // Success says only that the request was handled: a back end may
            // answer it with no shortcut bound at all.
            if (outcome == PickOutcome::Success && !bindsShortcut(results, m_id))
                outcome = PickOutcome::Ended;
            finishBinding(outcome);
        });
}

void PortalGlobalShortcuts::finishBinding(PickOutcome outcome)
{
    if (outcome != PickOutcome::Success)
        close();
    emit bound(outcome);
}

void PortalGlobalShortcuts::onActivated(const QDBusMessage &message)
{
    const QVariantList args = message.arguments();
    if (args.value(0).value<QDBusObjectPath>().path() == m_sessionPath &&
        args.value(1).toString() == m_id)
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
                         SLOT(onActivated(QDBusMessage)));
        m_listening = false;
    }
    if (m_sessionPath.isEmpty())
        return;
    // Sent even while CreateSession is unanswered: the session will be at
    // this path, and a portal closes what it has not yet created as a no-op.
    closePortalObject(m_bus, m_sessionPath, QLatin1String(kSession));
    m_sessionPath.clear();
}

} // namespace tintavo::portal
