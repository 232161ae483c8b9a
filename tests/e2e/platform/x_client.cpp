#include "x_client.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <xcb/xcb_keysyms.h>

namespace tintavo::test {

XClient::XClient()
{
    int screenNumber = 0;
    m_c = xcb_connect(nullptr, &screenNumber);
    auto it = xcb_setup_roots_iterator(xcb_get_setup(m_c));
    for (int i = 0; ok() && i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    m_screen = ok() ? it.data : nullptr;
}

QRect XClient::geometry(xcb_window_t window)
{
    auto *g = xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr);
    const QRect rect = g ? QRect(g->x, g->y, g->width, g->height) : QRect();
    std::free(g);
    return rect;
}

bool XClient::viewable(xcb_window_t window)
{
    auto *a = xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, window), nullptr);
    const bool shown = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(a);
    return shown;
}

xcb_keycode_t XClient::keycodeFor(quint32 keysym)
{
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_c);
    xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysym);
    const xcb_keycode_t code = codes ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    return code;
}

std::vector<quint16> XClient::lockVariants()
{
    const xcb_keycode_t numLock = keycodeFor(0xff7f);
    auto *m = xcb_get_modifier_mapping_reply(m_c, xcb_get_modifier_mapping(m_c), nullptr);
    quint16 mask = 0;
    for (int i = 0; m && numLock && i < 8 * m->keycodes_per_modifier; ++i) {
        if (xcb_get_modifier_mapping_keycodes(m)[i] == numLock)
            mask = static_cast<quint16>(1u << (i / m->keycodes_per_modifier));
    }
    std::free(m);
    return {0, XCB_MOD_MASK_LOCK, mask, static_cast<quint16>(mask | XCB_MOD_MASK_LOCK)};
}

int XClient::grabKey(quint16 modifiers, xcb_keycode_t keycode)
{
    xcb_generic_error_t *e =
        xcb_request_check(m_c, xcb_grab_key_checked(m_c, 1, m_screen->root, modifiers, keycode,
                                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    const int code = e ? e->error_code : 0;
    std::free(e);
    return code;
}

void XClient::ungrabKey(quint16 modifiers, xcb_keycode_t keycode)
{
    xcb_ungrab_key(m_c, keycode, m_screen->root, modifiers);
    sync();
}

int XClient::takeKeyPresses()
{
    sync();
    int presses = 0;
    while (xcb_generic_event_t *e = xcb_poll_for_event(m_c)) {
        presses += (e->response_type & 0x7f) == XCB_KEY_PRESS;
        std::free(e);
    }
    return presses;
}

bool XClient::answersPing(xcb_window_t window, int timeoutMs)
{
    const auto atom = [this](const char *name) {
        auto *r =
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    const xcb_atom_t protocols = atom("WM_PROTOCOLS"), ping = atom("_NET_WM_PING");
    // The answer goes to the root window, where any client may listen;
    // toolkits differ in the mask they send it with.
    const quint32 mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_c, m_screen->root, XCB_CW_EVENT_MASK, &mask);
    static quint32 stamp = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols;
    message.data.data32[0] = ping;
    message.data.data32[1] = ++stamp;
    message.data.data32[2] = window;
    xcb_send_event(m_c, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(m_c);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (xcb_generic_event_t *e = xcb_poll_for_event(m_c)) {
            const auto *m = reinterpret_cast<xcb_client_message_event_t *>(e);
            const bool answer = (e->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                                m->type == protocols && m->data.data32[0] == ping &&
                                m->data.data32[1] == stamp;
            std::free(e);
            if (answer)
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{xcb_get_file_descriptor(m_c), POLLIN, 0};
        if (left.count() <= 0 || !ok() || poll(&fd, 1, int(left.count())) <= 0)
            return false;
    }
}

qint32 XClient::pixelColor(QPoint at)
{
    return pixelColors(QRect(at, QSize(1, 1)))[0];
}

std::vector<qint32> XClient::pixelColors(const QRect &area)
{
    std::vector<qint32> colors(std::size_t(area.width() * area.height()), -1);
    auto *reply = xcb_get_image_reply(
        m_c,
        xcb_get_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_screen->root, qint16(area.x()),
                      qint16(area.y()), quint16(area.width()), quint16(area.height()), ~0u),
        nullptr);
    const quint8 *d = reply ? xcb_get_image_data(reply) : nullptr;
    const std::size_t size = reply ? std::size_t(xcb_get_image_data_length(reply)) : 0;
    for (std::size_t i = 0; d && i < colors.size() && 4 * i + 3 <= size;
         ++i) // blue, green, red, pad
        colors[i] = d[4 * i + 2] | (d[4 * i + 1] << 8) | (d[4 * i] << 16);
    std::free(reply);
    return colors;
}

void XClient::setRootBytes(const char *name, const QByteArray &bytes)
{
    auto *atom =
        xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, quint16(strlen(name)), name), nullptr);
    if (bytes.isEmpty())
        xcb_delete_property(m_c, m_screen->root, atom->atom);
    else
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_screen->root, atom->atom,
                            XCB_ATOM_CARDINAL, 8, quint32(bytes.size()), bytes.constData());
    std::free(atom);
    sync();
}

void XClient::showPattern()
{
    const auto w = quint16(rootSize().width()), h = quint16(rootSize().height());
    // One request (BIG-REQUESTS), 32 bits a pixel, blue first as on little-endian servers.
    std::vector<quint8> image;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const qint32 c = patternColor({x, y});
            image.insert(image.end(), {quint8(c >> 16), quint8(c >> 8), quint8(c), 0});
        }
    }
    const xcb_pixmap_t pixmap = xcb_generate_id(m_c);
    xcb_create_pixmap(m_c, m_screen->root_depth, pixmap, m_screen->root, w, h);
    const xcb_gcontext_t gc = xcb_generate_id(m_c);
    xcb_create_gc(m_c, gc, pixmap, 0, nullptr);
    xcb_put_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, w, h, 0, 0, 0, m_screen->root_depth,
                  quint32(image.size()), image.data());
    xcb_free_gc(m_c, gc);
    // The root's own background, as a desktop's wallpaper: every window of
    // the program under test stacks above it, and it outlives this client.
    xcb_change_window_attributes(m_c, m_screen->root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_free_pixmap(m_c, pixmap); // the root keeps it
    xcb_clear_area(m_c, 0, m_screen->root, 0, 0, 0, 0);
    sync();
}

} // namespace tintavo::test
