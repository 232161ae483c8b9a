#include "picker/mm1.h"

namespace tintavo::mm1 {

namespace {

qint16 lowHalf(qint32 value)
{
    return static_cast<qint16>(static_cast<quint32>(value) & 0xFFFFu);
}

qint16 highHalf(qint32 value)
{
    return static_cast<qint16>(static_cast<quint32>(value) >> 16);
}

} // namespace

HotKeyRecord &record()
{
    static HotKeyRecord theRecord;
    return theRecord;
}

qint32 HotKeyWndProc(quintptr hWnd, quint32 uMsg, quint32 wParam, qint32 lParam)
{
    HotKeyRecord &r = record();
    // Taken before the save: a save that closes the picker (and so removes
    // this procedure) must not change where this message goes on to.
    const WindowProc previous = r.lPrevWndProc;
    if (uMsg == kWmHotKey && static_cast<qint32>(wParam) == r.lHotKeyId) {
        // A copy again, since the save may install or remove the key.
        const std::function<void()> save = r.SavePixelColor;
        if (lowHalf(lParam) == r.lHotKeyModifiers && highHalf(lParam) == r.lHotKeyVirtualKey &&
            save)
            save();
    }
    if (!previous)
        return 0;
    return previous(hWnd, uMsg, wParam, lParam);
}

HotKeyRegistration install(GlobalHotKey &hotKey, HotKeyWindow window,
                           std::function<void()> savePixelColor)
{
    HotKeyRecord &r = record();
    if (window.wndProc) {
        r.lPrevWndProc = *window.wndProc;
        *window.wndProc = &HotKeyWndProc;
    }
    r.SavePixelColor = std::move(savePixelColor);
    r.lHotKeyId = 1;
    r.lHotKeyModifiers = kModAlt | kModShift;
    r.lHotKeyVirtualKey = 83;
    return hotKey.registerHotKey(window.hWnd, r.lHotKeyId, r.lHotKeyModifiers, r.lHotKeyVirtualKey);
}

void remove(GlobalHotKey &hotKey, HotKeyWindow window)
{
    HotKeyRecord &r = record();
    if (window.wndProc)
        *window.wndProc = r.lPrevWndProc;
    hotKey.unregisterHotKey(window.hWnd, r.lHotKeyId);
}

} // namespace tintavo::mm1
