#pragma once

#include "platform/pixel_format.h"
#include "platform/screen_sampler.h"

#include <QSize>

#include <memory>
#include <xcb/xcb.h>

class QRect;

namespace tintavo::x11 {

// Whether value is an X11 coordinate (16 bits, signed).
bool fitsCoordinate(int value);

// The pixels of `rect` of `drawable` as a frame: handed on as the server sent
// them where its layout is the frame's (the usual true-colour one), without
// a copy of tens of megabytes; else converted.
ScreenFrame readFrame(xcb_connection_t *connection, const PixelFormat &format,
                      xcb_drawable_t drawable, const QRect &rect);

// The desktop (the root window's `size`, the windows on it included) copied
// into a pixmap of `depth` on the server; null where the server has no room
// for it.
std::unique_ptr<HeldScreen> holdScreen(xcb_connection_t *connection, const PixelFormat &format,
                                       quint8 depth, xcb_window_t root, QSize size);

} // namespace tintavo::x11
