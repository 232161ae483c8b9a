#pragma once

#include "platform/pointer_watch.h"

#include <QAbstractNativeEventFilter>
#include <xcb/xcb.h>

namespace tintavo {

// Raw motion from the X Input extension (2.1 or later), selected on the root
// window: the server sends it for every move of every pointer, whichever
// window is under it and whoever holds a grab, and sends nothing while the
// pointer rests.
class X11PointerWatch : public PointerWatch, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // connection is the toolkit's own, whose events the filter sees.
    X11PointerWatch(xcb_connection_t *connection, xcb_window_t root, QObject *parent = nullptr);
    ~X11PointerWatch() override;

    bool watching() const override { return m_opcode != 0; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void selectRawMotion(bool on);

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    quint8 m_opcode = 0; // the extension's; 0 while nothing is watched
};

} // namespace tintavo
