#pragma once

#include <QString>

namespace tintavo {

// Which services can read the screen and hand out a global key here.
enum class DesktopServices
{
    X11,         // the X server's root window and key grabs
    Portal,      // the desktop portal on the session bus (Wayland compositors)
    Unavailable, // neither: the picker says so
};

// The parts of the environment that tell what kind of desktop session the
// program was started in.
struct SessionEnvironment
{
    QString waylandDisplay; // WAYLAND_DISPLAY
    QString sessionType;    // XDG_SESSION_TYPE
    QString display;        // DISPLAY

    static SessionEnvironment fromProcess();
};

// Decided by the session, not by the toolkit's platform: under XWayland the X
// root window shows only X clients and a root key grab sees only keys typed
// into X windows, so a Wayland session needs the portal even when the
// toolkit itself talks X11.
DesktopServices servicesForSession(const SessionEnvironment &environment);

// What this build offers in the session the program was started in: the
// choice of servicesForSession() for the process's environment, narrowed to
// the services the platform folder the build picks implements. Defined by
// that folder.
DesktopServices currentDesktopServices();

} // namespace tintavo
