#pragma once

#include <QByteArray>
#include <Qt>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace tintavo::x11 {

// The toolkit's own display connection, or null when the program does not run
// on the xcb platform. Requests made on it are ordered with the toolkit's own.
xcb_connection_t *toolkitConnection();

// The name of the display the toolkit connected to (given with -display or
// in DISPLAY); empty when it is not known.
QByteArray toolkitDisplayName();

// The screen of the connection that the program's windows live on.
xcb_screen_t *defaultScreen(xcb_connection_t *connection);

// An xcb reply (or error), freed with the scope that holds it.
struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The keysym of a key other than a letter or digit that the program grabs or
// reads (arrows, Escape, Return, Enter); 0 for any other, and back.
xcb_keysym_t keysymForKey(Qt::Key key);
Qt::Key keyForKeysym(xcb_keysym_t keysym);

} // namespace tintavo::x11
