#pragma once

#include "platform/global_hotkey.h"

#include <QAbstractNativeEventFilter>
#include <vector>
#include <xcb/xcb.h>

namespace tintavo {

// Claims the key with passive grabs on the root window, so presses reach the
// program whichever window has the focus. The combination is grabbed with and
// without NumLock and CapsLock, since X counts lock states as modifiers.
class X11GlobalHotKey : public GlobalHotKey, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // connection is the toolkit's own, whose events the filter sees; it must
    // outlive this object or be closed together with the application.
    X11GlobalHotKey(xcb_connection_t *connection, xcb_window_t root, QObject *parent = nullptr);
    ~X11GlobalHotKey() override;

    HotKeyResult registerKey(QKeyCombination combination) override;
    void unregisterKey() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    quint16 numLockMask();
    void ungrab();
    void waitForServer();
    bool handlePress(const xcb_key_press_event_t *event);
    bool handleRelease(const xcb_key_release_event_t *event);
    bool isOurKey(xcb_keycode_t keycode) const;

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    // The held combination: its keys (empty when none is held), its modifiers
    // and the lock states grabbed beside them.
    std::vector<xcb_keycode_t> m_keycodes;
    quint16 m_modifiers = 0;
    std::vector<quint16> m_lockVariants;
    // Auto-repeat bookkeeping: a held key sends either more presses alone or
    // release/press pairs with the same time stamp.
    bool m_down = false;
    xcb_timestamp_t m_lastPressTime = 0;
    bool m_released = false;
    xcb_timestamp_t m_lastReleaseTime = 0;
};

} // namespace tintavo
