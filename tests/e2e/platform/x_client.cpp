#include "x_client.h"

#include <cstdlib>
#include <xcb/xcb_keysyms.h>

namespace tintavo::test {

qint32 patternColor(QPoint p)
{
    const int blue = ((p.x() >> 8) & 0x0F) | (((p.y() >> 8) & 0x0F) << 4);
    return (p.x() & 0xFF) | ((p.y() & 0xFF) << 8) | (blue << 16);
}

XClient::XClient()
{
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (!ok())
        return;
    auto it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    m_screen = it.data;
}

void XClient::sync()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

xcb_keycode_t XClient::keycodeFor(quint32 keysym)
{
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysym);
    const xcb_keycode_t code = codes ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    return code;
}

std::vector<quint16> XClient::lockVariants()
{
    const xcb_keycode_t numLock = keycodeFor(0xff7f);
    auto *m = xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection),
                                             nullptr);
    quint16 mask = 0;
    for (int i = 0; m && i < 8 * m->keycodes_per_modifier; ++i) {
        if (numLock != 0 && xcb_get_modifier_mapping_keycodes(m)[i] == numLock)
            mask = static_cast<quint16>(1u << (i / m->keycodes_per_modifier));
    }
    std::free(m);
    return {0, XCB_MOD_MASK_LOCK, mask, static_cast<quint16>(mask | XCB_MOD_MASK_LOCK)};
}

int XClient::grabKey(quint16 modifiers, xcb_keycode_t keycode)
{
    xcb_generic_error_t *e = xcb_request_check(
        m_connection, xcb_grab_key_checked(m_connection, 1, m_screen->root, modifiers, keycode,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const int code = e ? e->error_code : 0;
    std::free(e);
    return code;
}

void XClient::ungrabKey(quint16 modifiers, xcb_keycode_t keycode)
{
    xcb_ungrab_key(m_connection, keycode, m_screen->root, modifiers);
    sync();
}

int XClient::takeKeyPresses()
{
    sync();
    int presses = 0;
    while (xcb_generic_event_t *e = xcb_poll_for_event(m_connection)) {
        presses += (e->response_type & 0x7f) == XCB_KEY_PRESS;
        std::free(e);
    }
    return presses;
}

qint32 XClient::pixelColor(QPoint at)
{
    auto *reply =
        xcb_get_image_reply(m_connection,
                            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_screen->root,
                                          qint16(at.x()), qint16(at.y()), 1, 1, ~0u),
                            nullptr);
    qint32 color = -1;
    if (reply && xcb_get_image_data_length(reply) >= 3) {
        const quint8 *d = xcb_get_image_data(reply); // blue, green, red
        color = d[2] | (d[1] << 8) | (d[0] << 16);
    }
    std::free(reply);
    return color;
}

void XClient::showPattern()
{
    const QSize size = rootSize();
    const xcb_pixmap_t pixmap = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, m_screen->root_depth, pixmap, m_screen->root,
                      static_cast<quint16>(size.width()), static_cast<quint16>(size.height()));
    const xcb_gcontext_t gc = xcb_generate_id(m_connection);
    xcb_create_gc(m_connection, gc, pixmap, 0, nullptr);
    // A row a request, 32 bits a pixel, blue first, as on the little-endian
    // screens tested on.
    std::vector<quint8> row;
    for (int y = 0; y < size.height(); ++y) {
        row.clear();
        for (int x = 0; x < size.width(); ++x) {
            const qint32 c = patternColor({x, y});
            row.insert(row.end(), {quint8(c >> 16), quint8(c >> 8), quint8(c), 0});
        }
        xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                      static_cast<quint16>(size.width()), 1, 0, static_cast<qint16>(y), 0,
                      m_screen->root_depth, static_cast<quint32>(row.size()), row.data());
    }
    xcb_free_gc(m_connection, gc);
    const xcb_window_t window = xcb_generate_id(m_connection);
    const quint32 values[] = {pixmap, 1};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_screen->root, 0, 0,
                      static_cast<quint16>(size.width()), static_cast<quint16>(size.height()), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_free_pixmap(m_connection, pixmap); // the window keeps it
    xcb_map_window(m_connection, window);
    sync();
}

} // namespace tintavo::test
