#pragma once

#include "platform/app_activation.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QStringList>

namespace tintavo {

// org.freedesktop.Application under the application id on a session bus:
// the name is the id, the object its path form (/io/github/tintavo/Tintavo).
// The calls' context (to refuse one) is the registered object's, not its
// adaptor's.
class ApplicationService : public AppActivation, protected QDBusContext
{
    Q_OBJECT

public:
    ApplicationService(const QDBusConnection &bus, const QString &appId, const QStringList &actions,
                       QObject *parent = nullptr);
    ~ApplicationService() override;

    void publish() override;
    // Whether the name became ours; false until the bus has answered.
    bool published() const { return m_published; }

signals:
    // The bus answered the request for the name.
    void publishDone(bool ours);

private:
    friend class ApplicationAdaptor;

    QDBusConnection m_bus;
    QString m_appId;
    QStringList m_actions;
    bool m_registered = false;
    bool m_published = false;
};

// The object path of an application id: '/' for each '.', '_' for '-'.
QString applicationObjectPath(const QString &appId);

// forwardAction() on a given bus; waits up to timeoutMs.
Forwarded forwardActionOn(const QDBusConnection &bus, const QString &appId, const QString &action,
                          int timeoutMs);

} // namespace tintavo
