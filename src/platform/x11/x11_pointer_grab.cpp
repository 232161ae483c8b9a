#include "platform/x11/x11_pointer_grab.h"

#include "platform/x11/x11_connection.h"

#include <QCoreApplication>
#include <cstring>

namespace tintavo {

namespace {

// The cursor font's crosshair and its mask, the next glyph.
constexpr quint16 kCrosshairGlyph = 34;

Qt::KeyboardModifiers modifiersOf(uint16_t state)
{
    Qt::KeyboardModifiers modifiers;
    if (state & XCB_MOD_MASK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (state & XCB_MOD_MASK_CONTROL)
        modifiers |= Qt::ControlModifier;
    if (state & XCB_MOD_MASK_1)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

Qt::MouseButton buttonFor(xcb_button_t button)
{
    switch (button) {
    case 1:
        return Qt::LeftButton;
    case 2:
        return Qt::MiddleButton;
    case 3:
        return Qt::RightButton;
    default:
        return Qt::NoButton; // the wheel and the rest
    }
}

} // namespace

X11PointerGrab::X11PointerGrab(xcb_connection_t *connection, xcb_window_t root, QObject *parent)
    : PointerGrab(parent), m_connection(connection), m_root(root),
      m_symbols(xcb_key_symbols_alloc(connection))
{
    if (auto *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11PointerGrab::~X11PointerGrab()
{
    if (m_symbols)
        xcb_key_symbols_free(m_symbols);
    // Without the application the connection is gone, and the grabs with it.
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    release();
    if (m_crosshair != XCB_NONE)
        xcb_free_cursor(m_connection, m_crosshair);
    xcb_flush(m_connection);
}

GrabResult X11PointerGrab::grab()
{
    if (m_grabbed)
        return GrabResult::Grabbed;
    if (m_crosshair == XCB_NONE) {
        const xcb_font_t font = xcb_generate_id(m_connection);
        const char name[] = "cursor";
        xcb_open_font(m_connection, font, std::strlen(name), name);
        m_crosshair = xcb_generate_id(m_connection);
        xcb_create_glyph_cursor(m_connection, m_crosshair, font, font, kCrosshairGlyph,
                                kCrosshairGlyph + 1, 0, 0, 0, 0xFFFF, 0xFFFF, 0xFFFF);
        xcb_close_font(m_connection, font);
    }
    // Events go to the root rather than to the window under the pointer, so
    // their coordinates are desktop points.
    const x11::Reply<xcb_grab_pointer_reply_t> pointer(xcb_grab_pointer_reply(
        m_connection,
        xcb_grab_pointer(m_connection, 0, m_root,
                         XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                             XCB_EVENT_MASK_POINTER_MOTION,
                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, m_crosshair,
                         XCB_CURRENT_TIME),
        nullptr));
    if (!pointer || pointer->status != XCB_GRAB_STATUS_SUCCESS)
        return GrabResult::Taken;
    const x11::Reply<xcb_grab_keyboard_reply_t> keyboard(
        xcb_grab_keyboard_reply(m_connection,
                                xcb_grab_keyboard(m_connection, 0, m_root, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr));
    if (!keyboard || keyboard->status != XCB_GRAB_STATUS_SUCCESS) {
        // Half a grab would leave the keyboard with another program while
        // the pointer is ours: give it back and let the caller try again.
        xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
        return GrabResult::Taken;
    }
    m_grabbed = true;
    return GrabResult::Grabbed;
}

void X11PointerGrab::release()
{
    if (!m_grabbed)
        return;
    m_grabbed = false;
    xcb_ungrab_pointer(m_connection, XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
}

bool X11PointerGrab::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!m_grabbed || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7F) {
    case XCB_BUTTON_PRESS: {
        const auto *press = reinterpret_cast<const xcb_button_press_event_t *>(event);
        if (press->event != m_root)
            return false;
        if (const Qt::MouseButton button = buttonFor(press->detail); button != Qt::NoButton)
            emit buttonPressed(button, QPoint(press->root_x, press->root_y));
        else if (press->detail == 4 || press->detail == 5)
            emit wheelTurned(press->detail == 4 ? 1 : -1, modifiersOf(press->state));
        return true;
    }
    case XCB_BUTTON_RELEASE: {
        const auto *release = reinterpret_cast<const xcb_button_release_event_t *>(event);
        if (release->event != m_root)
            return false;
        if (const Qt::MouseButton button = buttonFor(release->detail); button != Qt::NoButton)
            emit buttonReleased(button, QPoint(release->root_x, release->root_y));
        return true;
    }
    case XCB_MOTION_NOTIFY: {
        const auto *motion = reinterpret_cast<const xcb_motion_notify_event_t *>(event);
        if (motion->event != m_root)
            return false;
        emit pointerMoved(QPoint(motion->root_x, motion->root_y));
        return true;
    }
    case XCB_KEY_PRESS: {
        const auto *press = reinterpret_cast<const xcb_key_press_event_t *>(event);
        if (press->event != m_root)
            return false;
        const xcb_keysym_t keysym =
            m_symbols ? xcb_key_symbols_get_keysym(m_symbols, press->detail, 0) : 0;
        Qt::Key key = x11::keyForKeysym(keysym);
        Qt::KeyboardModifiers modifiers;
        if (press->state & XCB_MOD_MASK_SHIFT)
            modifiers |= Qt::ShiftModifier;
        if (press->state & XCB_MOD_MASK_CONTROL)
            modifiers |= Qt::ControlModifier;
        if (press->state & XCB_MOD_MASK_1)
            modifiers |= Qt::AltModifier;
        // Qt numbers digits and letters as ASCII does their capitals.
        if (key == Qt::Key_unknown && keysym >= '0' && keysym <= '9')
            key = Qt::Key(keysym);
        // The picker's own keys, which the grab keeps from their global binding.
        const bool altShift = modifiers == (Qt::AltModifier | Qt::ShiftModifier);
        if (key == Qt::Key_unknown && keysym >= 'a' && keysym <= 'z' &&
            (modifiers == Qt::ControlModifier || (altShift && (keysym == 's' || keysym == 'f'))))
            key = Qt::Key(keysym - 'a' + 'A');
        if (key != Qt::Key_unknown)
            emit keyPressed(key, modifiers);
        return true;
    }
    case XCB_KEY_RELEASE:
        return reinterpret_cast<const xcb_key_release_event_t *>(event)->event == m_root;
    default:
        return false;
    }
}

} // namespace tintavo
