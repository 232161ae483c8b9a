#include "platform/x11/x11_held_screen.h"

#include "platform/x11/x11_connection.h"

#include <QRect>

#include <cstdlib>
#include <limits>

namespace tintavo::x11 {

namespace {

// The desktop copied into a pixmap on the server, in the server's own time
// (milliseconds for a 4K screen): frame windows take it as their background,
// and only what the program asks for travels to it.
class X11HeldScreen : public HeldScreen
{
public:
    X11HeldScreen(xcb_connection_t *connection, const PixelFormat &format, quint8 depth)
        : m_connection(connection), m_format(format), m_depth(depth)
    {
    }

    ~X11HeldScreen() override
    {
        // Windows still showing it keep it on the server until they go.
        if (m_pixmap != XCB_NONE) {
            xcb_free_pixmap(m_connection, m_pixmap);
            xcb_flush(m_connection);
        }
    }

    // Copies the root window's `size` as the screen shows it, the windows on
    // it included; false where the server has no room for it.
    bool copy(xcb_window_t root, QSize size)
    {
        m_size = size;
        m_pixmap = xcb_generate_id(m_connection);
        xcb_create_pixmap(m_connection, m_depth, m_pixmap, root, quint16(size.width()),
                          quint16(size.height()));
        const xcb_gcontext_t gc = xcb_generate_id(m_connection);
        const quint32 values[] = {XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS, 0};
        xcb_create_gc(m_connection, gc, m_pixmap, XCB_GC_SUBWINDOW_MODE | XCB_GC_GRAPHICS_EXPOSURES,
                      values);
        // Checked: the copy is done, the frame taken, once this returns.
        const xcb_void_cookie_t copied =
            xcb_copy_area_checked(m_connection, root, m_pixmap, gc, 0, 0, 0, 0,
                                  quint16(size.width()), quint16(size.height()));
        xcb_free_gc(m_connection, gc);
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, copied)) {
            std::free(error);
            xcb_free_pixmap(m_connection, m_pixmap);
            m_pixmap = XCB_NONE;
            return false;
        }
        return true;
    }

    QSize size() const override { return m_size; }

    bool showIn(quintptr window, const QRect &area) override
    {
        // On the toolkit's connection, where the window was made: the change
        // reaches the server after the window and before its mapping.
        xcb_connection_t *windows = x11::toolkitConnection();
        if (!windows)
            windows = m_connection;
        const auto id = xcb_window_t(window);
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(windows, xcb_get_geometry(windows, id), nullptr));
        // A background must have the window's depth; one of another visual
        // draws the frame itself.
        if (!geometry || geometry->depth != m_depth)
            return false;
        // A window's background starts at its own corner: a window elsewhere
        // than the desktop's corner gets the part it covers.
        xcb_pixmap_t background = m_pixmap;
        const QRect part = area & QRect(QPoint(0, 0), m_size);
        if (part.isEmpty())
            return false;
        if (part.topLeft() != QPoint(0, 0)) {
            background = xcb_generate_id(windows);
            xcb_create_pixmap(windows, m_depth, background, id, quint16(part.width()),
                              quint16(part.height()));
            const xcb_gcontext_t gc = xcb_generate_id(windows);
            const quint32 values[] = {0};
            xcb_create_gc(windows, gc, background, XCB_GC_GRAPHICS_EXPOSURES, values);
            xcb_copy_area(windows, m_pixmap, background, gc, qint16(part.x()), qint16(part.y()), 0,
                          0, quint16(part.width()), quint16(part.height()));
            xcb_free_gc(windows, gc);
        }
        xcb_change_window_attributes(windows, id, XCB_CW_BACK_PIXMAP, &background);
        if (background != m_pixmap)
            xcb_free_pixmap(windows, background); // the window keeps it
        xcb_clear_area(windows, 0, id, 0, 0, 0, 0);
        xcb_flush(windows);
        return true;
    }

    ScreenFrame read(const QRect &rect) override
    {
        const QRect part = rect & QRect(QPoint(0, 0), m_size);
        if (m_pixmap == XCB_NONE || part != rect)
            return {};
        return readFrame(m_connection, m_format, m_pixmap, rect);
    }

private:
    xcb_connection_t *m_connection;
    PixelFormat m_format;
    quint8 m_depth;
    QSize m_size;
    xcb_pixmap_t m_pixmap = XCB_NONE;
};

} // namespace

bool fitsCoordinate(int value)
{
    return value >= std::numeric_limits<qint16>::min() &&
           value <= std::numeric_limits<qint16>::max();
}

ScreenFrame readFrame(xcb_connection_t *connection, const PixelFormat &format,
                      xcb_drawable_t drawable, const QRect &rect)
{
    if (rect.isEmpty() || !fitsCoordinate(rect.x()) || !fitsCoordinate(rect.y()))
        return {};
    const int width = rect.width(), height = rect.height();
    xcb_generic_error_t *error = nullptr;
    xcb_get_image_reply_t *reply =
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable,
                                          qint16(rect.x()), qint16(rect.y()), quint16(width),
                                          quint16(height), std::numeric_limits<quint32>::max()),
                            &error);
    std::free(error);
    if (!reply)
        return {};
    std::shared_ptr<xcb_get_image_reply_t> owner(reply, [](auto *r) { std::free(r); });
    const quint8 *data = xcb_get_image_data(reply);
    const std::size_t size = static_cast<std::size_t>(xcb_get_image_data_length(reply));
    const std::size_t stride = rowStride(format, width);
    if (size < stride * std::size_t(height))
        return {};
    const bool native = format.bitsPerPixel == 32 && !format.msbFirst &&
                        format.redMask == 0xFF0000u && format.greenMask == 0xFF00u &&
                        format.blueMask == 0xFFu && Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    if (native)
        return {rect.size(), qsizetype(stride), std::shared_ptr<const uchar>(owner, data)};
    auto pixels = std::shared_ptr<quint32[]>(new quint32[std::size_t(width) * height]);
    const std::size_t bytes = std::size_t(format.bitsPerPixel / 8);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t offset = std::size_t(y) * stride + std::size_t(x) * bytes;
            const std::optional<Rgb> c = decodePixel(format, data + offset, size - offset);
            pixels[std::size_t(y) * width + x] =
                c ? 0xFF000000u | quint32(c->red) << 16 | quint32(c->green) << 8 | c->blue
                  : 0xFF000000u;
        }
    }
    return {rect.size(), qsizetype(width) * 4,
            std::shared_ptr<const uchar>(pixels, reinterpret_cast<const uchar *>(pixels.get()))};
}

std::unique_ptr<HeldScreen> holdScreen(xcb_connection_t *connection, const PixelFormat &format,
                                       quint8 depth, xcb_window_t root, QSize size)
{
    auto held = std::make_unique<X11HeldScreen>(connection, format, depth);
    if (!held->copy(root, size))
        return {};
    return held;
}

} // namespace tintavo::x11
