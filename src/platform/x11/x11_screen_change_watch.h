#pragma once

#include "platform/screen_change_watch.h"

#include <QAbstractNativeEventFilter>
#include <xcb/xcb.h>

namespace tintavo {

// The DAMAGE extension's reports for the root window, which cover every
// window drawn on it: each drawing request sends the rectangle it touched, as
// it happens, and nothing is sent while the screen is still.
class X11ScreenChangeWatch : public ScreenChangeWatch, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // connection is the toolkit's own, whose events the filter sees.
    X11ScreenChangeWatch(xcb_connection_t *connection, xcb_window_t root,
                         QObject *parent = nullptr);
    ~X11ScreenChangeWatch() override;

    bool watching() const override { return m_damage != XCB_NONE; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    xcb_connection_t *m_connection;
    quint32 m_damage = XCB_NONE;
    quint8 m_notifyEvent = 0; // the extension's first event, its only one
};

} // namespace tintavo
