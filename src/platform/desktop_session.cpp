#include "platform/desktop_session.h"

#include <QProcessEnvironment>

namespace tintavo {

SessionEnvironment SessionEnvironment::fromProcess()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    return {env.value(QStringLiteral("WAYLAND_DISPLAY")),
            env.value(QStringLiteral("XDG_SESSION_TYPE")), env.value(QStringLiteral("DISPLAY"))};
}

DesktopServices servicesForSession(const SessionEnvironment &environment)
{
    const QString type = environment.sessionType.trimmed().toLower();
    if (!environment.waylandDisplay.isEmpty() || type == QLatin1String("wayland"))
        return DesktopServices::Portal;
    if (type == QLatin1String("x11") || !environment.display.isEmpty())
        return DesktopServices::X11;
    return DesktopServices::Unavailable;
}

} // namespace tintavo
