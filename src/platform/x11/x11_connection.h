#pragma once

#include <xcb/xcb.h>

namespace tintavo::x11 {

// The toolkit's own display connection, or null when the program does not run
// on the xcb platform. Requests made on it are ordered with the toolkit's own.
xcb_connection_t *toolkitConnection();

// The screen of the connection that the program's windows live on.
xcb_screen_t *defaultScreen(xcb_connection_t *connection);

} // namespace tintavo::x11
