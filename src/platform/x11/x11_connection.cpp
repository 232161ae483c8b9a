#include "platform/x11/x11_connection.h"

#include <QGuiApplication>
#include <cstdlib>

// Last: its macros (None, Bool, Status) would clash with the toolkit's names.
#include <X11/Xlib.h>

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

QByteArray toolkitDisplayName()
{
    if (!toolkitConnection())
        return {};
    // The name the toolkit opened, from -display or DISPLAY; only its Xlib
    // display keeps it.
    Display *display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    return display && DisplayString(display) ? QByteArray(DisplayString(display)) : QByteArray();
}

xcb_screen_t *defaultScreen(xcb_connection_t *connection)
{
    // The toolkit opens the display named by -display or DISPLAY; its screen
    // number is the one after the dot there. A number the server does not
    // have falls back to the first screen rather than failing.
    int screenNumber = 0;
    char *host = nullptr;
    int display = 0;
    const QByteArray name = toolkitDisplayName();
    if (xcb_parse_display(name.isEmpty() ? nullptr : name.constData(), &host, &display,
                          &screenNumber) == 0)
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

namespace {

const std::pair<Qt::Key, xcb_keysym_t> kKeysyms[] = {
    {Qt::Key_Escape, 0xff1b}, {Qt::Key_Return, 0xff0d}, {Qt::Key_Enter, 0xff8d},
    {Qt::Key_Left, 0xff51},   {Qt::Key_Up, 0xff52},     {Qt::Key_Right, 0xff53},
    {Qt::Key_Down, 0xff54},
};

} // namespace

xcb_keysym_t keysymForKey(Qt::Key key)
{
    for (const auto &[qt, keysym] : kKeysyms) {
        if (qt == key)
            return keysym;
    }
    return 0;
}

Qt::Key keyForKeysym(xcb_keysym_t keysym)
{
    for (const auto &[qt, x] : kKeysyms) {
        if (x == keysym)
            return qt;
    }
    return Qt::Key_unknown;
}

} // namespace tintavo::x11
