#include "platform/x11/x11_connection.h"

#include <QGuiApplication>
#include <cstdlib>

namespace tintavo::x11 {

xcb_connection_t *toolkitConnection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!native)
        return nullptr;
    xcb_connection_t *connection = native->connection();
    if (!connection || xcb_connection_has_error(connection))
        return nullptr;
    return connection;
}

xcb_screen_t *defaultScreen(xcb_connection_t *connection)
{
    // The toolkit opens the display named by DISPLAY; its screen number is the
    // one after the dot there. A number the server does not have falls back to
    // the first screen rather than failing.
    int screenNumber = 0;
    char *host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screenNumber) == 0)
        screenNumber = 0;
    std::free(host);

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    xcb_screen_t *first = it.rem > 0 ? it.data : nullptr;
    for (int i = 0; it.rem > 0; xcb_screen_next(&it), ++i) {
        if (i == screenNumber)
            return it.data;
    }
    return first;
}

} // namespace tintavo::x11
