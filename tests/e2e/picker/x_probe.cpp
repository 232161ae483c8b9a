// A second X client for the picker's end-to-end script: it reads pixels off
// the screen, tells whether NumLock is on, and plays "another program" that
// holds Alt+Shift+S. Plain xcb, so it shares nothing with the program under
// test.
//
//   x_probe pixel WINDOW X Y               prints the colour shown at (X, Y) of
//                                           WINDOW (0 = the root) as RRGGBB
//   x_probe wait-pixel WINDOW X Y RRGGBB MS waits up to MS milliseconds for that
//                                           colour; exit 1 (and the last colour
//                                           seen) when it does not come
//   x_probe numlock                         prints "on" or "off"
//   x_probe hold                            grabs Alt+Shift+S on the root with
//                                           every lock combination; prints
//                                           "held" (then "press" for every press
//                                           it gets, until killed) or "taken"
//                                           and exits 3
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

constexpr unsigned kKeysymS = 0x73;
constexpr unsigned kKeysymNumLock = 0xff7f;
constexpr int kBadAccess = 10;

// The connection, given back on the way out so that a sanitizer build sees
// nothing left over.
struct Client
{
    Client()
    {
        int screenNumber = 0;
        c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(c)) {
            std::fprintf(stderr, "x_probe: cannot connect to the X server\n");
            std::exit(2);
        }
        auto it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        screen = it.data;
    }
    ~Client() { xcb_disconnect(c); }
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    xcb_connection_t *c = nullptr;
    xcb_screen_t *screen = nullptr;
};

std::vector<xcb_keycode_t> keycodesFor(xcb_connection_t *c, unsigned keysym)
{
    std::vector<xcb_keycode_t> result;
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(c);
    xcb_keycode_t *codes = symbols ? xcb_key_symbols_get_keycode(symbols, keysym) : nullptr;
    for (xcb_keycode_t *k = codes; k && *k != XCB_NO_SYMBOL; ++k)
        result.push_back(*k);
    std::free(codes);
    if (symbols)
        xcb_key_symbols_free(symbols);
    return result;
}

uint16_t numLockMask(xcb_connection_t *c)
{
    const std::vector<xcb_keycode_t> numLock = keycodesFor(c, kKeysymNumLock);
    auto *m = xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    uint16_t mask = 0;
    if (m) {
        const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(m);
        for (int i = 0; i < 8 * m->keycodes_per_modifier; ++i) {
            for (xcb_keycode_t k : numLock) {
                if (codes[i] != 0 && codes[i] == k)
                    mask = static_cast<uint16_t>(1u << (i / m->keycodes_per_modifier));
            }
        }
    }
    std::free(m);
    return mask;
}

unsigned shiftFor(uint32_t mask)
{
    unsigned shift = 0;
    while (mask && !(mask & 1u)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

const xcb_visualtype_t *rootVisual(const xcb_screen_t *screen)
{
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual)
                return v.data;
        }
    }
    return nullptr;
}

// The colour on the screen at a point of a window, as 0xRRGGBB; -1 when the
// point is off the screen or the window is gone.
long readPixel(const Client &client, xcb_window_t window, int x, int y)
{
    xcb_connection_t *c = client.c;
    const xcb_window_t root = client.screen->root;
    auto *t = xcb_translate_coordinates_reply(c,
                                              xcb_translate_coordinates(c, window, root,
                                                                        static_cast<int16_t>(x),
                                                                        static_cast<int16_t>(y)),
                                              nullptr);
    if (!t)
        return -1;
    const int rx = t->dst_x;
    const int ry = t->dst_y;
    std::free(t);
    xcb_generic_error_t *error = nullptr;
    auto *image = xcb_get_image_reply(c,
                                      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root,
                                                    static_cast<int16_t>(rx),
                                                    static_cast<int16_t>(ry), 1, 1, ~0u),
                                      &error);
    std::free(error);
    if (!image)
        return -1;
    const uint8_t *data = xcb_get_image_data(image);
    const int length = xcb_get_image_data_length(image);
    const bool msbFirst = xcb_get_setup(c)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    uint32_t pixel = 0;
    const int bytes = length < 4 ? length : 4;
    for (int i = 0; i < bytes; ++i) {
        const uint32_t b = data[i];
        pixel |= msbFirst ? b << (8 * (bytes - 1 - i)) : b << (8 * i);
    }
    std::free(image);
    const xcb_visualtype_t *v = rootVisual(client.screen);
    if (!v)
        return -1;
    const auto channel = [pixel](uint32_t mask) {
        const uint32_t value = (pixel & mask) >> shiftFor(mask);
        const uint32_t max = mask >> shiftFor(mask);
        return max ? value * 255 / max : 0;
    };
    return static_cast<long>((channel(v->red_mask) << 16) | (channel(v->green_mask) << 8) |
                             channel(v->blue_mask));
}

xcb_window_t windowArg(const Client &client, const char *text)
{
    const unsigned long id = std::strtoul(text, nullptr, 0);
    return id == 0 ? client.screen->root : static_cast<xcb_window_t>(id);
}

int pixel(int argc, char **argv)
{
    if (argc != 5)
        return 2;
    const Client client;
    const long colour =
        readPixel(client, windowArg(client, argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    if (colour < 0) {
        std::printf("none\n");
        return 1;
    }
    std::printf("%06lX\n", colour);
    return 0;
}

int waitPixel(int argc, char **argv)
{
    if (argc != 7)
        return 2;
    const Client client;
    const xcb_window_t window = windowArg(client, argv[2]);
    const long wanted = std::strtol(argv[5], nullptr, 16);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atoi(argv[6]));
    long seen = -1;
    do {
        seen = readPixel(client, window, std::atoi(argv[3]), std::atoi(argv[4]));
        if (seen == wanted) {
            std::printf("%06lX\n", seen);
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    if (seen < 0)
        std::printf("none\n");
    else
        std::printf("%06lX\n", seen);
    return 1;
}

int numlock()
{
    const Client client;
    auto *p = xcb_query_pointer_reply(client.c, xcb_query_pointer(client.c, client.screen->root),
                                      nullptr);
    const uint16_t mask = numLockMask(client.c);
    const bool on = p && mask && (p->mask & mask);
    std::free(p);
    std::printf("%s\n", on ? "on" : "off");
    return 0;
}

int hold()
{
    const Client client;
    xcb_connection_t *c = client.c;
    const xcb_window_t root = client.screen->root;
    const uint16_t numLock = numLockMask(c);
    std::vector<uint16_t> locks{0, XCB_MOD_MASK_LOCK};
    if (numLock) {
        locks.push_back(numLock);
        locks.push_back(static_cast<uint16_t>(numLock | XCB_MOD_MASK_LOCK));
    }
    const uint16_t altShift = XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT;
    bool taken = false;
    for (xcb_keycode_t key : keycodesFor(c, kKeysymS)) {
        for (uint16_t lock : locks) {
            xcb_generic_error_t *e = xcb_request_check(
                c, xcb_grab_key_checked(c, 1, root, static_cast<uint16_t>(altShift | lock), key,
                                        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            if (e && e->error_code == kBadAccess)
                taken = true;
            else if (e)
                std::fprintf(stderr, "x_probe: grab failed with X error %d\n", e->error_code);
            std::free(e);
        }
    }
    if (taken) {
        std::printf("taken\n");
        std::fflush(stdout);
        return 3;
    }
    std::printf("held\n");
    std::fflush(stdout);
    while (xcb_generic_event_t *e = xcb_wait_for_event(c)) {
        if ((e->response_type & 0x7f) == XCB_KEY_PRESS) {
            std::printf("press\n");
            std::fflush(stdout);
        }
        std::free(e);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "pixel")
        return pixel(argc, argv);
    if (command == "wait-pixel")
        return waitPixel(argc, argv);
    if (command == "numlock")
        return numlock();
    if (command == "hold")
        return hold();
    std::fprintf(stderr, "usage: x_probe pixel|wait-pixel|numlock|hold ...\n");
    return 2;
}
