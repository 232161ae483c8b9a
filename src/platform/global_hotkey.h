#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

namespace tintavo {

// Win32 modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN), the values
// the hot-key record and its message carry. Named apart from the Win32 macros
// so that a Win32 build can include both.
inline constexpr qint32 kModAlt = 1;
inline constexpr qint32 kModControl = 2;
inline constexpr qint32 kModShift = 4;
inline constexpr qint32 kModWin = 8;

// WM_HOTKEY: the message number a hot-key press arrives with.
inline constexpr quint32 kWmHotKey = 0x0312;

// How a registration went.
enum class HotKeyResult
{
    Registered,   // the key is ours until unregistered
    Taken,        // another program (or another registration of ours) holds it
    NotAvailable, // this session cannot have global keys, or the key is unknown here
};

struct HotKeyRegistration
{
    HotKeyResult result = HotKeyResult::NotAvailable;
    // Empty when registered; otherwise a sentence saying why not.
    QString errorText;

    bool ok() const { return result == HotKeyResult::Registered; }
};

// lParam of a WM_HOTKEY message: modifiers in the low half, key in the high half.
constexpr qint32 hotKeyLParam(qint32 modifiers, qint32 virtualKey)
{
    return static_cast<qint32>((static_cast<quint32>(modifiers) & 0xFFFFu) |
                               (static_cast<quint32>(virtualKey) << 16));
}

// A key combination that reaches the program whichever program has the
// keyboard focus. Keys are given as Win32 virtual-key codes ('A'..'Z' as 65..90,
// '0'..'9' as 48..57, F1..F24 as 112..135, space 32) and Win32 modifier flags,
// so the hot-key module is the same on every platform. Lives on the
// user-interface thread; presses are delivered there.
class GlobalHotKey : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~GlobalHotKey() override = default;

    // Claims modifiers + virtualKey for the window. Each press is then
    // delivered once (holding the key down does not repeat it) as
    // hotKeyMessage(window, kWmHotKey, id, hotKeyLParam(modifiers, virtualKey)).
    // Registering an id the window already holds releases the old key first.
    virtual HotKeyRegistration registerHotKey(quintptr window, qint32 id, qint32 modifiers,
                                              qint32 virtualKey) = 0;

    // Releases the window's key with this id, so other programs can claim it.
    // False when the window held no such key.
    virtual bool unregisterHotKey(quintptr window, qint32 id) = 0;

signals:
    // One press of a registered key, shaped as the WM_HOTKEY message the
    // registering window receives.
    void hotKeyMessage(quintptr hWnd, quint32 uMsg, quint32 wParam, qint32 lParam);
};

// The hot-key service of the platform the program runs on; one that answers
// NotAvailable where global keys cannot be had. Defined by the platform folder
// the build picks.
std::unique_ptr<GlobalHotKey> createGlobalHotKey();

} // namespace tintavo
