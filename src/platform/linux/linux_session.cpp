#include "platform/desktop_session.h"

namespace tintavo {

// Both kinds of session are served here: X11 by the x11 folder, Wayland by the
// desktop portal.
DesktopServices currentDesktopServices()
{
    return servicesForSession(SessionEnvironment::fromProcess());
}

} // namespace tintavo
