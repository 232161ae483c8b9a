#include "x_client.h"

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <xcb/xcb_keysyms.h>

namespace tintavo::test {

namespace {

quint32 patternRgb(int x, int y)
{
    const quint32 red = static_cast<quint32>(x) & 0xFF;
    const quint32 green = static_cast<quint32>(y) & 0xFF;
    const quint32 blue =
        ((static_cast<quint32>(x) >> 8) & 0x0F) | (((static_cast<quint32>(y) >> 8) & 0x0F) << 4);
    return (red << 16) | (green << 8) | blue;
}

} // namespace

qint32 patternColor(QPoint p)
{
    const quint32 rgb = patternRgb(p.x(), p.y());
    return static_cast<qint32>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

XClient::XClient()
{
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    m_connection = c;
    auto it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    m_screen = it.data;
}

XClient::~XClient()
{
    if (m_connection) {
        for (xcb_pixmap_t p : m_pixmaps)
            xcb_free_pixmap(m_connection, p);
        xcb_disconnect(m_connection);
    }
}

void XClient::sync()
{
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

QSize XClient::rootSize()
{
    auto *g = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, root()), nullptr);
    const QSize size = g ? QSize(g->width, g->height) : QSize();
    std::free(g);
    return size;
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

quint16 XClient::numLockMask()
{
    const xcb_keycode_t numLock = keycodeFor(0xff7f);
    auto *m = xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection),
                                             nullptr);
    quint16 mask = 0;
    if (m) {
        const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(m);
        for (int i = 0; i < 8 * m->keycodes_per_modifier; ++i) {
            if (codes[i] == numLock && numLock != 0)
                mask = static_cast<quint16>(1u << (i / m->keycodes_per_modifier));
        }
    }
    std::free(m);
    return mask;
}

int XClient::grabKey(quint16 modifiers, xcb_keycode_t keycode)
{
    xcb_generic_error_t *e = xcb_request_check(
        m_connection, xcb_grab_key_checked(m_connection, 1, root(), modifiers, keycode,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const int code = e ? e->error_code : 0;
    std::free(e);
    return code;
}

void XClient::ungrabKey(quint16 modifiers, xcb_keycode_t keycode)
{
    xcb_ungrab_key(m_connection, keycode, root(), modifiers);
    sync();
}

int XClient::takeKeyPresses()
{
    sync();
    int presses = 0;
    while (xcb_generic_event_t *e = xcb_poll_for_event(m_connection)) {
        if ((e->response_type & 0x7f) == XCB_KEY_PRESS)
            ++presses;
        std::free(e);
    }
    return presses;
}

void XClient::warpPointer(QPoint to)
{
    xcb_warp_pointer(m_connection, XCB_WINDOW_NONE, root(), 0, 0, 0, 0, static_cast<qint16>(to.x()),
                     static_cast<qint16>(to.y()));
    sync();
}

qint32 XClient::pixelColor(QPoint at)
{
    auto *reply = xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), qint16(at.x()),
                      qint16(at.y()), 1, 1, ~0u),
        nullptr);
    if (!reply)
        return -1;
    qint32 color = -1;
    if (xcb_get_image_data_length(reply) >= 3) {
        const quint8 *d = xcb_get_image_data(reply); // blue, green, red
        color = d[2] | (d[1] << 8) | (d[0] << 16);
    }
    std::free(reply);
    return color;
}

xcb_window_t XClient::showPatternWindow()
{
    const QSize size = rootSize();
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const bool msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;

    const xcb_pixmap_t pixmap = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, m_screen->root_depth, pixmap, root(),
                      static_cast<quint16>(size.width()), static_cast<quint16>(size.height()));
    m_pixmaps.push_back(pixmap);
    const xcb_gcontext_t gc = xcb_generate_id(m_connection);
    xcb_create_gc(m_connection, gc, pixmap, 0, nullptr);

    // Rows are sent in strips that fit the largest request the server takes.
    const quint32 maxBytes = xcb_get_maximum_request_length(m_connection) * 4 - 64;
    const int rowBytes = size.width() * 4;
    const int rowsPerStrip = std::max(1, std::min<int>(64, static_cast<int>(maxBytes) / rowBytes));
    std::vector<quint8> strip(static_cast<std::size_t>(rowBytes * rowsPerStrip));
    for (int top = 0; top < size.height(); top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, size.height() - top);
        quint8 *out = strip.data();
        for (int y = top; y < top + rows; ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const quint32 v = patternRgb(x, y);
                for (int b = 0; b < 4; ++b)
                    *out++ = static_cast<quint8>(v >> (8 * (msbFirst ? 3 - b : b)));
            }
        }
        xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc,
                      static_cast<quint16>(size.width()), static_cast<quint16>(rows), 0,
                      static_cast<qint16>(top), 0, m_screen->root_depth,
                      static_cast<quint32>(rowBytes * rows), strip.data());
    }
    xcb_free_gc(m_connection, gc);

    const xcb_window_t window = xcb_generate_id(m_connection);
    const quint32 values[] = {pixmap, 1};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, root(), 0, 0,
                      static_cast<quint16>(size.width()), static_cast<quint16>(size.height()), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual,
                      XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(m_connection, window);
    sync();
    return window;
}

void XClient::destroyWindow(xcb_window_t window)
{
    xcb_destroy_window(m_connection, window);
    sync();
}

} // namespace tintavo::test
