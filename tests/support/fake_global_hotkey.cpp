#include "fake_global_hotkey.h"

namespace tintavo::test {

HotKeyRegistration FakeGlobalHotKey::registerHotKey(quintptr window, qint32 id, qint32 modifiers,
                                                    qint32 virtualKey)
{
    ++registerCalls;
    if (nextResult != HotKeyResult::Registered)
        return {nextResult, nextErrorText};
    held.removeIf([&](const Registered &r) { return r.window == window && r.id == id; });
    held.append({window, id, modifiers, virtualKey});
    return {HotKeyResult::Registered, {}};
}

bool FakeGlobalHotKey::unregisterHotKey(quintptr window, qint32 id)
{
    ++unregisterCalls;
    return held.removeIf([&](const Registered &r) { return r.window == window && r.id == id; }) > 0;
}

bool FakeGlobalHotKey::press(quintptr window, qint32 id)
{
    for (const Registered &r : held) {
        if (r.window == window && r.id == id) {
            // The receiver may unregister while handling it; emit from a copy.
            const Registered key = r;
            emit hotKeyMessage(key.window, kWmHotKey, static_cast<quint32>(key.id),
                               hotKeyLParam(key.modifiers, key.virtualKey));
            return true;
        }
    }
    return false;
}

void FakeGlobalHotKey::deliver(quintptr hWnd, quint32 uMsg, quint32 wParam, qint32 lParam)
{
    emit hotKeyMessage(hWnd, uMsg, wParam, lParam);
}

} // namespace tintavo::test
