#pragma once

#include "platform/portal/portal_request.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QPointer>

namespace tintavo::portal {

// A global key through the GlobalShortcuts portal: a session with one
// shortcut whose preferred trigger is given in the portal's shortcut-trigger
// notation ("ALT+SHIFT+s"); the desktop may let the user choose another.
// The session lasts until close() or destruction.
class PortalGlobalShortcuts : public QObject
{
    Q_OBJECT

public:
    explicit PortalGlobalShortcuts(const QDBusConnection &bus, int responseTimeoutMs = 120000,
                                   QObject *parent = nullptr);
    ~PortalGlobalShortcuts() override;

    // Creates the session and binds the shortcut; bound() tells how it went:
    // Ended when the desktop handled the request but bound nothing.
    void bind(const QString &id, const QString &description, const QString &preferredTrigger,
              const QString &parentWindow);

    // Closes the session, so the desktop gives the key back.
    void close();

signals:
    void bound(tintavo::PickOutcome outcome);
    // One press of the bound shortcut.
    void activated();

private slots:
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
    void onActivated(const QDBusMessage &message);

private:
    void createSession();
    void bindShortcut();
    void finishBinding(PickOutcome outcome);

    QDBusConnection m_bus;
    int m_responseTimeoutMs;
    QString m_id, m_description, m_trigger, m_parentWindow;
    QString m_sessionPath; // set once CreateSession has been sent
    bool m_listening = false;
    QPointer<PortalRequest> m_request;
};

// Whether a portal's answer lists the shortcut `id` bound to a key (one
// listed with an empty trigger_description has none).
bool bindsShortcut(const QVariantMap &results, const QString &id);

} // namespace tintavo::portal
