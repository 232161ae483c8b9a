#pragma once

#include "platform/pointer_grab.h"

#include <QAbstractNativeEventFilter>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace tintavo {

// Active grabs of the pointer and the keyboard on the root window: the server
// then sends every click and key press to this program, with the desktop
// point it happened at, until they are released.
class X11PointerGrab : public PointerGrab, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // connection is the toolkit's own, whose events the filter sees.
    X11PointerGrab(xcb_connection_t *connection, xcb_window_t root, QObject *parent = nullptr);
    ~X11PointerGrab() override;

    GrabResult grab() override;
    void release() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    xcb_cursor_t m_crosshair = XCB_NONE;
    xcb_key_symbols_t *m_symbols = nullptr;
    bool m_grabbed = false;
};

} // namespace tintavo
