#include "platform/unavailable_platform.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_global_hotkey.h"
#include "platform/x11/x11_pointer_grab.h"
#include "platform/x11/x11_pointer_watch.h"
#include "platform/x11/x11_screen_change_watch.h"
#include "platform/x11/x11_screen_sampler.h"

namespace tintavo {

std::unique_ptr<ScreenSampler> createScreenSampler()
{
    xcb_connection_t *toolkit = x11::toolkitConnection();
    if (!toolkit)
        return std::make_unique<UnavailableScreenSampler>();
    // A connection of its own to the same display: replies on the toolkit's
    // connection pass through its event-reader thread, which costs several
    // times the round trip itself on every sample. The same display, also
    // when -display named another than DISPLAY does.
    const QByteArray display = x11::toolkitDisplayName();
    xcb_connection_t *own = xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    if (own && !xcb_connection_has_error(own))
        return std::make_unique<X11ScreenSampler>(own, x11::defaultScreen(own), true);
    if (own)
        xcb_disconnect(own);
    return std::make_unique<X11ScreenSampler>(toolkit, x11::defaultScreen(toolkit));
}

std::unique_ptr<GlobalHotKey> createGlobalHotKey()
{
    xcb_connection_t *connection = x11::toolkitConnection();
    xcb_screen_t *screen = connection ? x11::defaultScreen(connection) : nullptr;
    if (!screen)
        return std::make_unique<UnavailableGlobalHotKey>();
    return std::make_unique<X11GlobalHotKey>(connection, screen->root);
}

std::unique_ptr<PointerGrab> createPointerGrab()
{
    xcb_connection_t *connection = x11::toolkitConnection();
    xcb_screen_t *screen = connection ? x11::defaultScreen(connection) : nullptr;
    if (!screen)
        return std::make_unique<UnavailablePointerGrab>();
    return std::make_unique<X11PointerGrab>(connection, screen->root);
}

std::unique_ptr<PointerWatch> createPointerWatch()
{
    xcb_connection_t *connection = x11::toolkitConnection();
    xcb_screen_t *screen = connection ? x11::defaultScreen(connection) : nullptr;
    if (!screen)
        return std::make_unique<UnavailablePointerWatch>();
    return std::make_unique<X11PointerWatch>(connection, screen->root);
}

std::unique_ptr<ScreenChangeWatch> createScreenChangeWatch()
{
    xcb_connection_t *connection = x11::toolkitConnection();
    xcb_screen_t *screen = connection ? x11::defaultScreen(connection) : nullptr;
    if (!screen)
        return std::make_unique<UnavailableScreenChangeWatch>();
    return std::make_unique<X11ScreenChangeWatch>(connection, screen->root);
}

} // namespace tintavo
