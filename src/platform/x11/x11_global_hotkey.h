#pragma once

#include "platform/global_hotkey.h"

#include <QAbstractNativeEventFilter>
#include <vector>
#include <xcb/xcb.h>

namespace tintavo {

// The keysym X uses for a Win32 virtual-key code, or 0 for a code this program
// has no use for. Letters map to their lower-case keysym, as the key carries it
// unshifted.
quint32 keysymForVirtualKey(qint32 virtualKey);

// Claims keys on the root window with passive grabs, so presses reach the
// program whichever window has the focus. Each combination is grabbed with and
// without NumLock and CapsLock, since X counts lock states as modifiers.
class X11GlobalHotKey : public GlobalHotKey, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // connection is the toolkit's own, whose events the filter sees; it must
    // outlive this object or be closed together with the application.
    X11GlobalHotKey(xcb_connection_t *connection, xcb_window_t root, QObject *parent = nullptr);
    ~X11GlobalHotKey() override;

    HotKeyRegistration registerHotKey(quintptr window, qint32 id, qint32 modifiers,
                                      qint32 virtualKey) override;
    bool unregisterHotKey(quintptr window, qint32 id) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Grab
    {
        quintptr window = 0;
        qint32 id = 0;
        qint32 modifiers = 0;
        qint32 virtualKey = 0;
        quint16 xModifiers = 0;
        std::vector<xcb_keycode_t> keycodes;
        std::vector<quint16> lockVariants;
        // Auto-repeat bookkeeping: a held key sends either more presses alone
        // or release/press pairs with the same time stamp.
        bool down = false;
        xcb_timestamp_t lastPressTime = 0;
        bool released = false;
        xcb_timestamp_t lastReleaseTime = 0;
    };

    quint16 numLockMask();
    void ungrab(const Grab &grab);
    void waitForServer();
    bool handlePress(const xcb_key_press_event_t *event);
    bool handleRelease(const xcb_key_release_event_t *event);

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    std::vector<Grab> m_grabs;
};

} // namespace tintavo
