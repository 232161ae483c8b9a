#include "platform/x11/x11_display_probe.h"

#include <QFile>
#include <xcb/xcb.h>

namespace tintavo::x11 {

bool displayAccepts(const QString &display)
{
    xcb_connection_t *connection = xcb_connect(QFile::encodeName(display).constData(), nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reached;
}

} // namespace tintavo::x11
