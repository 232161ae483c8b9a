#include "platform/x11/x11_global_hotkey.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <xcb/xcb_keysyms.h>

namespace tintavo {

namespace {

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

struct KeySymbolsDeleter
{
    void operator()(xcb_key_symbols_t *symbols) const { xcb_key_symbols_free(symbols); }
};

// Win32 MOD_NOREPEAT: asks for what every key here does anyway.
constexpr qint32 kModNoRepeat = 0x4000;
constexpr qint32 kKnownModifiers = kModAlt | kModControl | kModShift | kModWin;

constexpr quint32 kKeysymNumLock = 0xff7f;
constexpr quint8 kBadAccess = 10;

// Only these modifiers tell one combination from another; lock states and the
// mouse buttons are left out when a press is matched.
constexpr quint16 kMatchedState =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

// A held key repeats well within this time (delay before the first repeat and
// the interval after it); a press long after the last one is a new press even
// if its release went missing.
constexpr xcb_timestamp_t kRepeatWindowMs = 2000;
// A repeat sent as a release/press pair carries one time stamp, give or take
// the millisecond the server may tick between the two.
constexpr xcb_timestamp_t kRepeatPairSlackMs = 1;

quint16 xModifiersFor(qint32 modifiers)
{
    quint16 mask = 0;
    if (modifiers & kModShift)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & kModControl)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & kModAlt)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & kModWin)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

QString describeCombination(qint32 modifiers, qint32 virtualKey)
{
    QString text;
    if (modifiers & kModControl)
        text += QLatin1String("Ctrl+");
    if (modifiers & kModAlt)
        text += QLatin1String("Alt+");
    if (modifiers & kModShift)
        text += QLatin1String("Shift+");
    if (modifiers & kModWin)
        text += QLatin1String("Super+");
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        text += QChar(virtualKey);
    else
        text += QStringLiteral("key %1").arg(virtualKey);
    return text;
}

} // namespace

quint32 keysymForVirtualKey(qint32 virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return static_cast<quint32>(virtualKey - 'A' + 'a');
    if (virtualKey >= '0' && virtualKey <= '9')
        return static_cast<quint32>(virtualKey);
    if (virtualKey >= 0x70 && virtualKey <= 0x87) // VK_F1..VK_F24
        return static_cast<quint32>(0xffbe + (virtualKey - 0x70));
    switch (virtualKey) {
    case 0x08: // VK_BACK
        return 0xff08;
    case 0x09: // VK_TAB
        return 0xff09;
    case 0x0D: // VK_RETURN
        return 0xff0d;
    case 0x1B: // VK_ESCAPE
        return 0xff1b;
    case 0x20: // VK_SPACE
        return 0x20;
    default:
        return 0;
    }
}

X11GlobalHotKey::X11GlobalHotKey(xcb_connection_t *connection, xcb_window_t root, QObject *parent)
    : GlobalHotKey(parent), m_connection(connection), m_root(root)
{
    if (auto *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11GlobalHotKey::~X11GlobalHotKey()
{
    // Without the application the connection is gone, and the server dropped
    // the grabs together with it.
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const Grab &grab : m_grabs)
        ungrab(grab);
    if (!m_grabs.empty())
        waitForServer();
}

void X11GlobalHotKey::waitForServer()
{
    // Requests of different clients are not ordered with each other; a round
    // trip makes sure the server has acted on ours before another program,
    // told that the key is free, tries to take it.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

quint16 X11GlobalHotKey::numLockMask()
{
    // NumLock is whichever modifier its key is mapped to (usually Mod2); read
    // afresh each time, since the keyboard map may have changed since.
    std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter> symbols(
        xcb_key_symbols_alloc(m_connection));
    if (!symbols)
        return 0;
    std::unique_ptr<xcb_keycode_t, FreeDeleter> numLockCodes(
        xcb_key_symbols_get_keycode(symbols.get(), kKeysymNumLock));
    if (!numLockCodes)
        return 0;
    Reply<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (!mapping)
        return 0;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int k = 0; k < perModifier; ++k) {
            const xcb_keycode_t code = codes[modifier * perModifier + k];
            if (code == 0)
                continue;
            for (const xcb_keycode_t *n = numLockCodes.get(); *n != XCB_NO_SYMBOL; ++n) {
                if (*n == code)
                    return static_cast<quint16>(1u << modifier);
            }
        }
    }
    return 0;
}

HotKeyRegistration X11GlobalHotKey::registerHotKey(quintptr window, qint32 id, qint32 modifiers,
                                                   qint32 virtualKey)
{
    const qint32 wanted = modifiers & ~kModNoRepeat;
    if ((wanted & ~kKnownModifiers) != 0)
        return {HotKeyResult::NotAvailable,
                QStringLiteral("Unknown modifier flags 0x%1.").arg(modifiers, 0, 16)};
    const quint32 keysym = keysymForVirtualKey(virtualKey);
    if (keysym == 0)
        return {HotKeyResult::NotAvailable,
                QStringLiteral("Key %1 cannot be used as a hot key here.").arg(virtualKey)};

    Grab grab;
    grab.window = window;
    grab.id = id;
    grab.modifiers = wanted;
    grab.virtualKey = virtualKey;
    grab.xModifiers = xModifiersFor(wanted);
    {
        std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter> symbols(
            xcb_key_symbols_alloc(m_connection));
        std::unique_ptr<xcb_keycode_t, FreeDeleter> codes(
            symbols ? xcb_key_symbols_get_keycode(symbols.get(), keysym) : nullptr);
        for (const xcb_keycode_t *c = codes.get(); c && *c != XCB_NO_SYMBOL; ++c) {
            if (std::find(grab.keycodes.begin(), grab.keycodes.end(), *c) == grab.keycodes.end())
                grab.keycodes.push_back(*c);
        }
    }
    const QString name = describeCombination(wanted, virtualKey);
    if (grab.keycodes.empty())
        return {HotKeyResult::NotAvailable,
                QStringLiteral("The keyboard has no key for %1.").arg(name)};

    unregisterHotKey(window, id);
    for (const Grab &held : m_grabs) {
        if (held.xModifiers == grab.xModifiers && held.keycodes == grab.keycodes)
            return {HotKeyResult::Taken,
                    QStringLiteral("%1 is already registered by this program.").arg(name)};
    }

    const quint16 numLock = numLockMask();
    grab.lockVariants = {0, XCB_MOD_MASK_LOCK};
    if (numLock != 0 && numLock != XCB_MOD_MASK_LOCK && (numLock & grab.xModifiers) == 0) {
        grab.lockVariants.push_back(numLock);
        grab.lockVariants.push_back(static_cast<quint16>(numLock | XCB_MOD_MASK_LOCK));
    }

    // Send every grab, then collect the answers: a round trip for the lot.
    struct Pending
    {
        xcb_keycode_t keycode;
        quint16 modifiers;
        xcb_void_cookie_t cookie;
    };
    std::vector<Pending> pending;
    for (xcb_keycode_t keycode : grab.keycodes) {
        for (quint16 lock : grab.lockVariants) {
            const quint16 mods = static_cast<quint16>(grab.xModifiers | lock);
            // Presses go to the root window rather than to one of our own
            // windows that may have the focus, so the toolkit never sees them
            // as typing.
            pending.push_back({keycode, mods,
                               xcb_grab_key_checked(m_connection, 0, m_root, mods, keycode,
                                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }
    bool taken = false;
    int otherError = 0;
    std::vector<const Pending *> granted;
    for (const Pending &p : pending) {
        std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(
            xcb_request_check(m_connection, p.cookie));
        if (!error)
            granted.push_back(&p);
        else if (error->error_code == kBadAccess)
            taken = true;
        else
            otherError = error->error_code;
    }
    if (taken || otherError != 0) {
        // All or nothing: a key that works only with NumLock off is worse than
        // a key that plainly does not work.
        for (const Pending *p : granted)
            xcb_ungrab_key(m_connection, p->keycode, m_root, p->modifiers);
        waitForServer();
        if (taken)
            return {HotKeyResult::Taken,
                    QStringLiteral("%1 is held by another program.").arg(name)};
        return {HotKeyResult::NotAvailable,
                QStringLiteral("The X server refused %1 (error %2).").arg(name).arg(otherError)};
    }
    m_grabs.push_back(std::move(grab));
    return {HotKeyResult::Registered, {}};
}

void X11GlobalHotKey::ungrab(const Grab &grab)
{
    for (xcb_keycode_t keycode : grab.keycodes) {
        for (quint16 lock : grab.lockVariants)
            xcb_ungrab_key(m_connection, keycode, m_root,
                           static_cast<quint16>(grab.xModifiers | lock));
    }
}

bool X11GlobalHotKey::unregisterHotKey(quintptr window, qint32 id)
{
    const auto it = std::find_if(m_grabs.begin(), m_grabs.end(), [&](const Grab &grab) {
        return grab.window == window && grab.id == id;
    });
    if (it == m_grabs.end())
        return false;
    ungrab(*it);
    m_grabs.erase(it);
    waitForServer();
    return true;
}

bool X11GlobalHotKey::handlePress(const xcb_key_press_event_t *event)
{
    const quint16 state = event->state & kMatchedState;
    for (Grab &grab : m_grabs) {
        if (grab.xModifiers != state || std::find(grab.keycodes.begin(), grab.keycodes.end(),
                                                  event->detail) == grab.keycodes.end())
            continue;
        const bool repeatOfHeld = grab.down && event->time - grab.lastPressTime < kRepeatWindowMs;
        const bool repeatPair =
            grab.released && event->time - grab.lastReleaseTime <= kRepeatPairSlackMs;
        grab.down = true;
        grab.lastPressTime = event->time;
        if (repeatOfHeld || repeatPair)
            return true;
        // The receiver may unregister (and so change m_grabs) while handling
        // the message, so copy what the message needs first.
        const quintptr window = grab.window;
        const qint32 id = grab.id;
        const qint32 lParam = hotKeyLParam(grab.modifiers, grab.virtualKey);
        emit hotKeyMessage(window, kWmHotKey, static_cast<quint32>(id), lParam);
        return true;
    }
    return false;
}

bool X11GlobalHotKey::handleRelease(const xcb_key_release_event_t *event)
{
    // The modifiers may already be up when the key itself is released, so any
    // grab of this key counts.
    bool ours = false;
    for (Grab &grab : m_grabs) {
        if (std::find(grab.keycodes.begin(), grab.keycodes.end(), event->detail) ==
            grab.keycodes.end())
            continue;
        if (grab.down) {
            grab.down = false;
            grab.released = true;
            grab.lastReleaseTime = event->time;
        }
        ours = true;
    }
    return ours;
}

bool X11GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_grabs.empty() || eventType != "xcb_generic_event_t" || !message)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS: {
        const auto *press = reinterpret_cast<const xcb_key_press_event_t *>(event);
        return press->event == m_root && handlePress(press);
    }
    case XCB_KEY_RELEASE: {
        const auto *release = reinterpret_cast<const xcb_key_release_event_t *>(event);
        return release->event == m_root && handleRelease(release);
    }
    default:
        return false;
    }
}

} // namespace tintavo
