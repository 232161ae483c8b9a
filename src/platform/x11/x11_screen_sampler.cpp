#include "platform/x11/x11_screen_sampler.h"

#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace tintavo {

namespace {

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

bool fitsCoordinate(int value)
{
    return value >= std::numeric_limits<qint16>::min() &&
           value <= std::numeric_limits<qint16>::max();
}

const xcb_visualtype_t *findVisual(const xcb_screen_t *screen, xcb_visualid_t id)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem;
         xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == id)
                return visuals.data;
        }
    }
    return nullptr;
}

int bitsPerPixelForDepth(const xcb_setup_t *setup, quint8 depth)
{
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
         xcb_format_next(&formats)) {
        if (formats.data->depth == depth)
            return formats.data->bits_per_pixel;
    }
    return 0;
}

// Window managers nest a managed window in frame windows; the depth limit only
// guards against a pathological tree.
constexpr int kMaxTreeDepth = 64;
constexpr int kMaxSearchedWindows = 256;

} // namespace

X11ScreenSampler::X11ScreenSampler(xcb_connection_t *connection, xcb_screen_t *screen,
                                   bool ownsConnection)
    : m_connection(connection), m_ownsConnection(ownsConnection)
{
    if (!m_connection || !screen)
        return;
    m_root = screen->root;

    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const xcb_visualtype_t *visual = findVisual(screen, screen->root_visual);
    if (visual && (visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR ||
                   visual->_class == XCB_VISUAL_CLASS_DIRECT_COLOR)) {
        m_format.bitsPerPixel = bitsPerPixelForDepth(setup, screen->root_depth);
        m_format.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
        m_format.redMask = visual->red_mask;
        m_format.greenMask = visual->green_mask;
        m_format.blueMask = visual->blue_mask;
        m_available = isDecodable(m_format);
    }

    static const char kWmStateName[] = "WM_STATE";
    const auto cookie = xcb_intern_atom(m_connection, 1, sizeof(kWmStateName) - 1, kWmStateName);
    Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(m_connection, cookie, nullptr));
    if (atom)
        m_wmState = atom->atom;
}

X11ScreenSampler::~X11ScreenSampler()
{
    if (m_ownsConnection && m_connection)
        xcb_disconnect(m_connection);
}

bool X11ScreenSampler::available() const
{
    return m_available;
}

QPoint X11ScreenSampler::cursorPos()
{
    if (!m_available)
        return {};
    Reply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    if (!reply)
        return {};
    return {reply->root_x, reply->root_y};
}

bool X11ScreenSampler::hasWmState(xcb_window_t window)
{
    if (m_wmState == XCB_ATOM_NONE)
        return false;
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, m_wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
        nullptr));
    return reply && reply->type != XCB_ATOM_NONE;
}

xcb_window_t X11ScreenSampler::findManagedClient(xcb_window_t frame)
{
    // Breadth first: the client sits one or two levels below its frame, under
    // the decoration windows' siblings.
    std::vector<xcb_window_t> queue{frame};
    for (std::size_t next = 0; next < queue.size() && next < kMaxSearchedWindows; ++next) {
        const xcb_window_t window = queue[next];
        if (window != frame && hasWmState(window))
            return window;
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (!tree)
            continue;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        queue.insert(queue.end(), children, children + count);
    }
    return XCB_WINDOW_NONE;
}

quintptr X11ScreenSampler::windowFromPoint(QPoint screen)
{
    if (!m_available || !fitsCoordinate(screen.x()) || !fitsCoordinate(screen.y()))
        return 0;

    // Follow the chain of windows holding the point down from the root; each
    // step names the child of the current window that contains the point.
    std::vector<xcb_window_t> chain{m_root};
    while (chain.size() < kMaxTreeDepth) {
        Reply<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(
            m_connection,
            xcb_translate_coordinates(m_connection, m_root, chain.back(),
                                      static_cast<qint16>(screen.x()),
                                      static_cast<qint16>(screen.y())),
            nullptr));
        if (!reply || reply->child == XCB_WINDOW_NONE)
            break;
        chain.push_back(reply->child);
    }
    if (chain.size() == 1)
        return m_root;

    // Inside a managed window (one the window manager marked with WM_STATE) the
    // deepest window is the answer. Outside one, the point is on the frame the
    // window manager drew around it, which belongs to the window it decorates,
    // as a title bar belongs to its window; its client coordinates then fall
    // outside the window.
    for (std::size_t i = 1; i < chain.size(); ++i) {
        if (hasWmState(chain[i]))
            return chain.back();
    }
    const xcb_window_t client = findManagedClient(chain[1]);
    return client != XCB_WINDOW_NONE ? client : chain.back();
}

QPoint X11ScreenSampler::screenToClient(quintptr window, QPoint screen)
{
    if (!m_available || window == 0 || window > std::numeric_limits<xcb_window_t>::max() ||
        !fitsCoordinate(screen.x()) || !fitsCoordinate(screen.y()))
        return screen;
    Reply<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(
        m_connection,
        xcb_translate_coordinates(m_connection, m_root, static_cast<xcb_window_t>(window),
                                  static_cast<qint16>(screen.x()), static_cast<qint16>(screen.y())),
        nullptr));
    if (!reply)
        return screen;
    const QPoint client(reply->dst_x, reply->dst_y);
    m_lastTranslation = {window, client, screen};
    return client;
}

ColorValue X11ScreenSampler::pixelAt(quintptr window, QPoint client)
{
    if (!m_available)
        return kClrInvalid;
    if (window == 0)
        return screenPixel(client);
    if (window > std::numeric_limits<xcb_window_t>::max() || !fitsCoordinate(client.x()) ||
        !fitsCoordinate(client.y()))
        return kClrInvalid;
    // A sample converts the pointer into client coordinates and reads the
    // pixel there straight after: the desktop point is then already known,
    // which saves a round trip. Used once only, since the window may move.
    const Translation last = std::exchange(m_lastTranslation, Translation{});
    if (last.window == window && last.client == client)
        return screenPixel(last.screen);
    Reply<xcb_translate_coordinates_reply_t> reply(xcb_translate_coordinates_reply(
        m_connection,
        xcb_translate_coordinates(m_connection, static_cast<xcb_window_t>(window), m_root,
                                  static_cast<qint16>(client.x()), static_cast<qint16>(client.y())),
        nullptr));
    if (!reply)
        return kClrInvalid;
    return screenPixel({reply->dst_x, reply->dst_y});
}

ColorValue X11ScreenSampler::screenPixel(QPoint screen)
{
    if (!m_available || screen.x() < 0 || screen.y() < 0 || !fitsCoordinate(screen.x()) ||
        !fitsCoordinate(screen.y()))
        return kClrInvalid;
    // A point off the root window makes the server refuse the request
    // (BadMatch); the error comes back in place of the reply.
    xcb_generic_error_t *error = nullptr;
    Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root,
                      static_cast<qint16>(screen.x()), static_cast<qint16>(screen.y()), 1, 1,
                      std::numeric_limits<quint32>::max()),
        &error));
    std::free(error);
    if (!reply)
        return kClrInvalid;
    return decodePixel(m_format, xcb_get_image_data(reply.get()),
                       static_cast<std::size_t>(xcb_get_image_data_length(reply.get())));
}

} // namespace tintavo
