#pragma once

#include "platform/global_hotkey.h"

#include <QtGlobal>
#include <functional>

namespace tintavo::mm1 {

// A window procedure: every message of a window goes through the one the
// window currently holds, which returns the message's result.
using WindowProc =
    std::function<qint32(quintptr hWnd, quint32 uMsg, quint32 wParam, qint32 lParam)>;

// The hot-key record, one per process. All values are 0 (and the procedure
// empty) until the first install; each install sets them afresh.
struct HotKeyRecord
{
    // The window's procedure before the install; every message goes on to it.
    WindowProc lPrevWndProc;
    // Identifier the key is registered under and expected in wParam.
    qint32 lHotKeyId = 0;
    // Modifier flags expected in the low 16 bits of lParam.
    qint32 lHotKeyModifiers = 0;
    // Virtual-key code expected in the high 16 bits of lParam.
    qint32 lHotKeyVirtualKey = 0;
    // The picker's saving routine (its SavePixelColor), called for each press.
    std::function<void()> SavePixelColor;
};

// The record HotKeyWndProc works from.
HotKeyRecord &record();

// The replacement window procedure. For WM_HOTKEY with wParam equal to
// lHotKeyId, and the low and high halves of lParam (each read as a signed
// 16-bit number) equal to lHotKeyModifiers and lHotKeyVirtualKey, it calls
// SavePixelColor. Every message, that one included, then goes on to
// lPrevWndProc with the same arguments, and its result is returned. With no
// previous procedure recorded (nothing installed) the result is 0.
qint32 HotKeyWndProc(quintptr hWnd, quint32 uMsg, quint32 wParam, qint32 lParam);

// The window's side of an install: its handle and the slot holding its
// current window procedure, through which it passes every message it gets
// (GlobalHotKey::hotKeyMessage for its handle included).
struct HotKeyWindow
{
    quintptr hWnd = 0;
    WindowProc *wndProc = nullptr;
};

// Puts HotKeyWndProc in the window's slot (keeping the old procedure in
// lPrevWndProc), records savePixelColor, sets the key to Alt+Shift+S under
// identifier 1 and registers it. The registration's outcome is returned for
// whoever wants it; the picker carries on without the key when it failed.
HotKeyRegistration install(GlobalHotKey &hotKey, HotKeyWindow window,
                           std::function<void()> savePixelColor);

// Puts the procedure saved by the last install back into the window's slot
// and unregisters the key.
void remove(GlobalHotKey &hotKey, HotKeyWindow window);

} // namespace tintavo::mm1
