#include "platform/x11/x11_screen_sampler.h"

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_held_screen.h"

#include <QRect>
#include <xcb/randr.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>

namespace tintavo {

namespace {

using x11::Reply;

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

const xcb_format_t *formatForDepth(const xcb_setup_t *setup, quint8 depth)
{
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
         xcb_format_next(&formats)) {
        if (formats.data->depth == depth)
            return formats.data;
    }
    return nullptr;
}

} // namespace

X11ScreenSampler::X11ScreenSampler(xcb_connection_t *connection, xcb_screen_t *screen,
                                   bool ownsConnection)
    : m_connection(connection), m_ownsConnection(ownsConnection)
{
    if (!m_connection || !screen)
        return;
    m_root = screen->root;
    m_rootSize = QSize(screen->width_in_pixels, screen->height_in_pixels);

    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const xcb_visualtype_t *visual = findVisual(screen, screen->root_visual);
    if (visual && (visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR ||
                   visual->_class == XCB_VISUAL_CLASS_DIRECT_COLOR)) {
        const xcb_format_t *format = formatForDepth(setup, screen->root_depth);
        m_format.bitsPerPixel = format ? format->bits_per_pixel : 0;
        m_format.scanlinePad = format ? format->scanline_pad : 0;
        m_format.msbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
        m_format.redMask = visual->red_mask;
        m_format.greenMask = visual->green_mask;
        m_format.blueMask = visual->blue_mask;
        m_available = isDecodable(m_format);
    }
    watchLayout();
}

void X11ScreenSampler::watchLayout()
{
    // Events are this client's own only on a connection of its own; on the
    // toolkit's they would be the toolkit's to read.
    const xcb_query_extension_reply_t *randr =
        m_available && m_ownsConnection ? xcb_get_extension_data(m_connection, &xcb_randr_id)
                                        : nullptr;
    if (!randr || !randr->present)
        return;
    // The server answers a client that has not said its version as one of
    // the first, without the events asked for here.
    Reply<xcb_randr_query_version_reply_t> version(xcb_randr_query_version_reply(
        m_connection, xcb_randr_query_version(m_connection, 1, 5), nullptr));
    if (!version)
        return;
    m_randrEvents = randr->first_event;
    // A monitor plugged in or a resolution raised grows the root window:
    // what lies beyond its old size must be readable from then on.
    xcb_randr_select_input(m_connection, m_root,
                           XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                               XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    xcb_flush(m_connection);
}

void X11ScreenSampler::readEvents()
{
    if (!m_ownsConnection || !m_available)
        return;
    bool resized = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_PROPERTY_NOTIFY) {
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            m_profilesChanged =
                m_profilesChanged || std::find(m_profileAtoms.begin(), m_profileAtoms.end(),
                                               notify->atom) != m_profileAtoms.end();
        } else if (m_randrEvents && (type == m_randrEvents + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
                                     type == m_randrEvents + XCB_RANDR_NOTIFY)) {
            resized = true;
        }
        std::free(event);
    }
    if (!resized)
        return;
    m_layoutChanged = true;
    // The root's size as it is now, not as the last of the events said.
    Reply<xcb_get_geometry_reply_t> root(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, m_root), nullptr));
    if (root)
        m_rootSize = QSize(root->width, root->height);
}

bool X11ScreenSampler::layoutChanged()
{
    readEvents();
    return std::exchange(m_layoutChanged, false);
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

QPoint X11ScreenSampler::pointerPosition()
{
    if (!m_available)
        return {};
    Reply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    if (!reply)
        return {};
    return {reply->root_x, reply->root_y};
}

QList<QRect> X11ScreenSampler::monitors()
{
    QList<QRect> found;
    // A request of an extension the server lacks would close the connection.
    const xcb_query_extension_reply_t *randr =
        m_available ? xcb_get_extension_data(m_connection, &xcb_randr_id) : nullptr;
    if (!randr || !randr->present)
        return found;
    Reply<xcb_randr_query_version_reply_t> version(xcb_randr_query_version_reply(
        m_connection, xcb_randr_query_version(m_connection, 1, 5), nullptr));
    if (!version || version->major_version < 1 ||
        (version->major_version == 1 && version->minor_version < 5))
        return found;
    // The monitors as RandR 1.5 describes them, which is what the toolkit
    // divides by each one's scale factor; its logical rectangles cannot be
    // multiplied back exactly at a factor such as 1.75.
    Reply<xcb_randr_get_monitors_reply_t> reply(xcb_randr_get_monitors_reply(
        m_connection, xcb_randr_get_monitors(m_connection, m_root, 1), nullptr));
    if (!reply)
        return found;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
         xcb_randr_monitor_info_next(&it))
        found.append(QRect(it.data->x, it.data->y, it.data->width, it.data->height));
    return found;
}

QList<QByteArray> X11ScreenSampler::monitorProfiles()
{
    QList<QByteArray> profiles;
    if (!m_available)
        return profiles;
    if (!m_watchingProfiles && m_ownsConnection) {
        // Changes arrive as events on this connection, read by
        // profilesChanged(); the selection is this client's own. (On the
        // toolkit's connection the events would be the toolkit's to read.)
        const quint32 mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_watchingProfiles = true;
    }
    const qsizetype count = qMax<qsizetype>(1, monitors().size());
    // The first monitor's profile is _ICC_PROFILE, the next ones' are
    // numbered from 1 as the server numbers its monitors.
    std::vector<xcb_intern_atom_cookie_t> names;
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArray name =
            i == 0 ? QByteArray("_ICC_PROFILE") : "_ICC_PROFILE_" + QByteArray::number(i);
        names.push_back(xcb_intern_atom(m_connection, 0, quint16(name.size()), name.constData()));
    }
    m_profileAtoms.clear();
    for (xcb_intern_atom_cookie_t cookie : names) {
        Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(m_connection, cookie, nullptr));
        m_profileAtoms.push_back(atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE));
    }
    std::vector<xcb_get_property_cookie_t> reads;
    for (xcb_atom_t atom : m_profileAtoms) // up to 16 MiB, far beyond any monitor's profile
        reads.push_back(
            xcb_get_property(m_connection, 0, m_root, atom, XCB_ATOM_CARDINAL, 0, 4u << 20));
    for (xcb_get_property_cookie_t cookie : reads) {
        Reply<xcb_get_property_reply_t> value(
            xcb_get_property_reply(m_connection, cookie, nullptr));
        const bool bytes = value && value->format == 8 && value->type == XCB_ATOM_CARDINAL;
        profiles.append(
            bytes ? QByteArray(static_cast<const char *>(xcb_get_property_value(value.get())),
                               xcb_get_property_value_length(value.get()))
                  : QByteArray());
    }
    // A monitor without a profile of its own shows what the first one's says.
    for (QByteArray &profile : profiles) {
        if (profile.isEmpty())
            profile = profiles.first();
    }
    return profiles;
}

bool X11ScreenSampler::profilesChanged()
{
    readEvents();
    return std::exchange(m_profilesChanged, false);
}

bool X11ScreenSampler::canMovePointer() const
{
    return m_available;
}

bool X11ScreenSampler::movePointer(QPoint screen)
{
    if (!m_available || !x11::fitsCoordinate(screen.x()) || !x11::fitsCoordinate(screen.y()))
        return false;
    // Absolute, so that a step lands on the pixel asked for even when
    // another move came in between; the server keeps it on the screens.
    xcb_warp_pointer(m_connection, XCB_WINDOW_NONE, m_root, 0, 0, 0, 0,
                     static_cast<qint16>(screen.x()), static_cast<qint16>(screen.y()));
    xcb_flush(m_connection);
    return true;
}

std::optional<Rgb> X11ScreenSampler::pixelColor(QPoint screen)
{
    if (!m_available || screen.x() < 0 || screen.y() < 0 || !x11::fitsCoordinate(screen.x()) ||
        !x11::fitsCoordinate(screen.y()))
        return std::nullopt;
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
        return std::nullopt;
    return decodePixel(m_format, xcb_get_image_data(reply.get()),
                       static_cast<std::size_t>(xcb_get_image_data_length(reply.get())));
}

ScreenFrame X11ScreenSampler::grabFrame()
{
    readEvents();
    if (!m_available || m_rootSize.isEmpty())
        return {};
    return x11::readFrame(m_connection, m_format, m_root, QRect(QPoint(0, 0), m_rootSize));
}

std::unique_ptr<HeldScreen> X11ScreenSampler::holdScreen()
{
    readEvents();
    if (!m_available || m_rootSize.isEmpty())
        return {};
    const xcb_screen_t *screen = x11::defaultScreen(m_connection);
    return x11::holdScreen(m_connection, m_format, screen->root_depth, m_root, m_rootSize);
}

std::vector<std::optional<Rgb>> X11ScreenSampler::pixelColors(QPoint centre, int radius)
{
    const int side = 2 * radius + 1;
    std::vector<std::optional<Rgb>> area(static_cast<std::size_t>(side * side));
    const QRect wanted(centre - QPoint(radius, radius), QSize(side, side));
    readEvents();
    // The server refuses a request reaching past the root window (BadMatch),
    // so only the part on the desktop is asked for; the rest stays invalid.
    const QRect part = wanted & QRect(QPoint(0, 0), m_rootSize);
    if (!m_available || part.isEmpty())
        return area;
    xcb_generic_error_t *error = nullptr;
    Reply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        m_connection,
        xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root,
                      static_cast<qint16>(part.x()), static_cast<qint16>(part.y()),
                      static_cast<quint16>(part.width()), static_cast<quint16>(part.height()),
                      std::numeric_limits<quint32>::max()),
        &error));
    std::free(error);
    if (!reply)
        return area;
    const quint8 *data = xcb_get_image_data(reply.get());
    const std::size_t size = static_cast<std::size_t>(xcb_get_image_data_length(reply.get()));
    const std::size_t stride = rowStride(m_format, part.width());
    const std::size_t bytes = static_cast<std::size_t>(m_format.bitsPerPixel / 8);
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x) {
            const std::size_t offset = std::size_t(y) * stride + std::size_t(x) * bytes;
            if (offset >= size)
                continue;
            const int row = part.y() + y - wanted.y();
            const int col = part.x() + x - wanted.x();
            area[static_cast<std::size_t>(row * side + col)] =
                decodePixel(m_format, data + offset, size - offset);
        }
    }
    return area;
}

} // namespace tintavo
