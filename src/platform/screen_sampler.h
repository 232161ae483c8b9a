#pragma once

#include "color/color_value.h"

#include <QPoint>
#include <QtGlobal>
#include <memory>

namespace tintavo {

// What a pixel read gives when the pixel cannot be read (GetPixel's CLR_INVALID).
inline constexpr ColorValue kClrInvalid = -1;

// Reads the screen for the picker: where the pointer is, which window lies under
// a point, and the colour of one pixel. Every coordinate here is in native
// screen pixels (device pixels of the whole desktop, origin at its top-left
// corner), never in the toolkit's scaled logical pixels, so the position shown
// and the pixel read agree whatever the scale factor. Calls are made from the
// user-interface thread only.
class ScreenSampler
{
public:
    virtual ~ScreenSampler() = default;

    // False where the screen cannot be read at all (no display connection, an
    // offscreen or Wayland-only session); every other method then answers with
    // its "nothing there" value and does no work.
    virtual bool available() const = 0;

    // The pointer position on the desktop. Answers (0, 0) when it cannot be
    // read, so a caller that compares with the last position sees no movement.
    virtual QPoint cursorPos() = 0;

    // Handle of the window under a desktop point: the deepest window holding it.
    // Over a window manager's frame (title bar, border) the answer is the
    // application window that frame decorates, so that screenToClient() then
    // gives a point outside its client area. 0 when nothing can be found.
    virtual quintptr windowFromPoint(QPoint screen) = 0;

    // A desktop point in the client coordinates of a window (its top-left
    // inner corner is (0, 0)); negative or beyond the window's size when the
    // point lies outside it. Answers the point unchanged for window 0 or a
    // window that no longer exists.
    virtual QPoint screenToClient(quintptr window, QPoint screen) = 0;

    // The colour shown on the screen at a point given in a window's client
    // coordinates, as 0x00BBGGRR; kClrInvalid when the window no longer exists
    // or the point is off the desktop. Window 0 takes the point as a desktop
    // point. What is read is what the screen shows there, whichever window
    // covers it.
    virtual ColorValue pixelAt(quintptr window, QPoint client) = 0;

    // The colour shown at a desktop point, as 0x00BBGGRR; kClrInvalid off the
    // desktop. The cheapest read: one request, no window lookups.
    virtual ColorValue screenPixel(QPoint screen) = 0;
};

// The sampler of the platform the program runs on; one that reports
// available() == false where the screen cannot be read. Defined by the
// platform folder the build picks.
std::unique_ptr<ScreenSampler> createScreenSampler();

} // namespace tintavo
