#pragma once

#include "color/color_value.h"
#include "platform/portal/portal_request.h"

#include <QDBusConnection>
#include <QObject>
#include <QPointer>

namespace tintavo::portal {

// One colour at a time through Screenshot.PickColor: the compositor shows its
// own picking cursor and the user clicks a pixel anywhere on the desktop.
class PortalColorPicker : public QObject
{
    Q_OBJECT

public:
    // responseTimeoutMs bounds the wait for the user's click too: a portal
    // that never answers must not leave the picker waiting forever.
    explicit PortalColorPicker(const QDBusConnection &bus, int responseTimeoutMs = 120000,
                               QObject *parent = nullptr);

    // Starts a pick unless one is under way (then false). parentWindow is the
    // portal's parent window identifier ("x11:<hex id>"), or empty.
    bool pick(const QString &parentWindow);
    bool picking() const { return m_picking; }

signals:
    // Once per started pick; color is meaningful on Success only.
    void finished(tintavo::PickOutcome outcome, tintavo::Rgb color);

private:
    void sendPickColor(const QString &parentWindow);
    void finish(PickOutcome outcome, Rgb color = {});

    QDBusConnection m_bus;
    int m_responseTimeoutMs;
    bool m_picking = false;
    QPointer<PortalRequest> m_request;
};

} // namespace tintavo::portal
