#pragma once

#include "platform/pixel_format.h"
#include "platform/screen_sampler.h"

#include <xcb/xcb.h>

namespace tintavo {

// Reads the screen through an X connection. Coordinates are those of
// the root window, which are native pixels whatever scale factor the toolkit
// uses. Pixels are read from the root window, which shows what is on the
// screen there, so the window under the pointer need not cooperate.
class X11ScreenSampler : public ScreenSampler
{
public:
    // connection may be null (then nothing is available). Unless the sampler
    // owns it (and closes it when destroyed), it must outlive this.
    X11ScreenSampler(xcb_connection_t *connection, xcb_screen_t *screen,
                     bool ownsConnection = false);
    ~X11ScreenSampler() override;
    X11ScreenSampler(const X11ScreenSampler &) = delete;
    X11ScreenSampler &operator=(const X11ScreenSampler &) = delete;

    bool available() const override;
    QPoint cursorPos() override;
    quintptr windowFromPoint(QPoint screen) override;
    QPoint screenToClient(quintptr window, QPoint screen) override;
    ColorValue pixelAt(quintptr window, QPoint client) override;
    ColorValue screenPixel(QPoint screen) override;

    // The layout of the root window's pixels, as found at construction.
    const PixelFormat &pixelFormat() const { return m_format; }

private:
    bool hasWmState(xcb_window_t window);
    xcb_window_t findManagedClient(xcb_window_t frame);

    struct Translation
    {
        quintptr window = 0;
        QPoint client;
        QPoint screen;
    };

    xcb_connection_t *m_connection = nullptr;
    Translation m_lastTranslation;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_wmState = XCB_ATOM_NONE;
    PixelFormat m_format;
    bool m_available = false;
    bool m_ownsConnection = false;
};

} // namespace tintavo
