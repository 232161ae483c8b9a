#include "platform/x11/x11_global_hotkey.h"

#include "platform/x11/x11_connection.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <xcb/xcb_keysyms.h>

namespace tintavo {

namespace {

using x11::Reply;

struct KeySymbolsDeleter
{
    void operator()(xcb_key_symbols_t *symbols) const { xcb_key_symbols_free(symbols); }
};
using KeySymbols = std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter>;

constexpr xcb_keysym_t kKeysymNumLock = 0xff7f;
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

// The X modifier mask for the toolkit's modifiers; false for one X has no
// fixed place for.
bool xModifiersFor(Qt::KeyboardModifiers modifiers, quint16 &mask)
{
    const std::pair<Qt::KeyboardModifier, quint16> table[] = {
        {Qt::ShiftModifier, XCB_MOD_MASK_SHIFT},
        {Qt::ControlModifier, XCB_MOD_MASK_CONTROL},
        {Qt::AltModifier, XCB_MOD_MASK_1},
        {Qt::MetaModifier, XCB_MOD_MASK_4},
    };
    mask = 0;
    for (const auto &[qt, x] : table) {
        if (modifiers & qt) {
            mask |= x;
            modifiers &= ~qt;
        }
    }
    return modifiers == Qt::NoModifier;
}

// The keysym of a letter, digit or arrow key (the key as it carries it
// unshifted); 0 for any other key, which this program never asks for.
xcb_keysym_t keysymFor(Qt::Key key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<xcb_keysym_t>('a' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<xcb_keysym_t>(key);
    return x11::keysymForKey(key);
}

// Every live hot key of the process: they share the toolkit's connection, and
// X lets one client grab the same combination twice without complaint.
std::vector<const X11GlobalHotKey *> &liveHotKeys()
{
    static std::vector<const X11GlobalHotKey *> keys;
    return keys;
}

} // namespace

X11GlobalHotKey::X11GlobalHotKey(xcb_connection_t *connection, xcb_window_t root, QObject *parent)
    : GlobalHotKey(parent), m_connection(connection), m_root(root)
{
    liveHotKeys().push_back(this);
    if (auto *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11GlobalHotKey::~X11GlobalHotKey()
{
    std::erase(liveHotKeys(), this);
    // Without the application the connection is gone, and the server dropped
    // the grabs together with it.
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    unregisterKey();
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
    KeySymbols symbols(xcb_key_symbols_alloc(m_connection));
    if (!symbols)
        return 0;
    Reply<xcb_keycode_t> numLockCodes(xcb_key_symbols_get_keycode(symbols.get(), kKeysymNumLock));
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

HotKeyResult X11GlobalHotKey::registerKey(QKeyCombination combination)
{
    unregisterKey();
    quint16 modifiers = 0;
    const xcb_keysym_t keysym = keysymFor(combination.key());
    if (!xModifiersFor(combination.keyboardModifiers(), modifiers) || keysym == 0)
        return HotKeyResult::Unsupported;

    std::vector<xcb_keycode_t> keycodes;
    {
        KeySymbols symbols(xcb_key_symbols_alloc(m_connection));
        Reply<xcb_keycode_t> codes(symbols ? xcb_key_symbols_get_keycode(symbols.get(), keysym)
                                           : nullptr);
        for (const xcb_keycode_t *c = codes.get(); c && *c != XCB_NO_SYMBOL; ++c) {
            if (std::find(keycodes.begin(), keycodes.end(), *c) == keycodes.end())
                keycodes.push_back(*c);
        }
    }
    if (keycodes.empty())
        return HotKeyResult::Unsupported;
    for (const X11GlobalHotKey *other : liveHotKeys()) {
        if (other->m_modifiers == modifiers && other->m_keycodes == keycodes)
            return HotKeyResult::Taken;
    }

    const quint16 numLock = numLockMask();
    std::vector<quint16> lockVariants{0, XCB_MOD_MASK_LOCK};
    if (numLock != 0 && numLock != XCB_MOD_MASK_LOCK && (numLock & modifiers) == 0) {
        lockVariants.push_back(numLock);
        lockVariants.push_back(static_cast<quint16>(numLock | XCB_MOD_MASK_LOCK));
    }

    // Send every grab, then collect the answers: a round trip for the lot.
    struct Pending
    {
        xcb_keycode_t keycode;
        quint16 modifiers;
        xcb_void_cookie_t cookie;
    };
    std::vector<Pending> pending;
    for (xcb_keycode_t keycode : keycodes) {
        for (quint16 lock : lockVariants) {
            const quint16 mods = static_cast<quint16>(modifiers | lock);
            // Presses go to the root window rather than to one of our own
            // windows that may have the focus, so the toolkit never sees them
            // as typing.
            pending.push_back({keycode, mods,
                               xcb_grab_key_checked(m_connection, 0, m_root, mods, keycode,
                                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }
    bool taken = false;
    bool refused = false;
    std::vector<const Pending *> granted;
    for (const Pending &p : pending) {
        Reply<xcb_generic_error_t> error(xcb_request_check(m_connection, p.cookie));
        if (!error)
            granted.push_back(&p);
        else if (error->error_code == kBadAccess)
            taken = true;
        else
            refused = true;
    }
    if (taken || refused) {
        // All or nothing: a key that works only with NumLock off is worse than
        // a key that plainly does not work.
        for (const Pending *p : granted)
            xcb_ungrab_key(m_connection, p->keycode, m_root, p->modifiers);
        waitForServer();
        return taken ? HotKeyResult::Taken : HotKeyResult::Unsupported;
    }
    m_keycodes = std::move(keycodes);
    m_modifiers = modifiers;
    m_lockVariants = std::move(lockVariants);
    m_down = m_released = false;
    return HotKeyResult::Registered;
}

void X11GlobalHotKey::unregisterKey()
{
    if (m_keycodes.empty())
        return;
    for (xcb_keycode_t keycode : m_keycodes) {
        for (quint16 lock : m_lockVariants)
            xcb_ungrab_key(m_connection, keycode, m_root, static_cast<quint16>(m_modifiers | lock));
    }
    m_keycodes.clear();
    waitForServer();
}

bool X11GlobalHotKey::isOurKey(xcb_keycode_t keycode) const
{
    return std::find(m_keycodes.begin(), m_keycodes.end(), keycode) != m_keycodes.end();
}

bool X11GlobalHotKey::handlePress(const xcb_key_press_event_t *event)
{
    if ((event->state & kMatchedState) != m_modifiers || !isOurKey(event->detail))
        return false;
    const bool repeatOfHeld = m_down && event->time - m_lastPressTime < kRepeatWindowMs;
    const bool repeatPair = m_released && event->time - m_lastReleaseTime <= kRepeatPairSlackMs;
    m_down = true;
    m_lastPressTime = event->time;
    if (!repeatOfHeld && !repeatPair)
        emit activated(); // the receiver may unregister: nothing is touched after this
    return true;
}

bool X11GlobalHotKey::handleRelease(const xcb_key_release_event_t *event)
{
    // The modifiers may already be up when the key itself is released, so the
    // key alone counts.
    if (!isOurKey(event->detail))
        return false;
    if (m_down) {
        m_down = false;
        m_released = true;
        m_lastReleaseTime = event->time;
    }
    return true;
}

bool X11GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (m_keycodes.empty() || eventType != "xcb_generic_event_t" || !message)
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
