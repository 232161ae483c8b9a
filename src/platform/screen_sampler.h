#pragma once

#include "color/rgb.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>
#include <optional>
#include <vector>

namespace tintavo {

// The whole desktop read at one moment, in native pixels: rows of 32-bit
// 0xffRRGGBB values in the machine's byte order (QImage::Format_RGB32), one
// row `stride` bytes after the one above.
struct ScreenFrame
{
    QSize size;
    qsizetype stride = 0;
    std::shared_ptr<const uchar> bits;
    bool isNull() const { return !bits; }
};

// The whole desktop held still where the display server keeps it: a copy of
// what every monitor showed at one moment, which windows there show without
// its pixels passing through this program. Only what is asked for is read.
class HeldScreen
{
public:
    virtual ~HeldScreen() = default;

    // The desktop's bounding box, in native pixels.
    virtual QSize size() const = 0;
    // Makes the native window `window`, which covers `area` of the desktop,
    // show the held pixels there whenever the server draws it; false where
    // it cannot (that window then draws them itself).
    virtual bool showIn(quintptr window, const QRect &area) = 0;
    // The held pixels of `rect`, within size(), as a frame of that size;
    // null where they cannot be read. Callable from any thread.
    virtual ScreenFrame read(const QRect &rect) = 0;
};

// The frame as a read-only image over its bytes, which it keeps alive as long
// as it lives; a null image for a null frame.
inline QImage frameImage(const ScreenFrame &frame)
{
    if (frame.isNull())
        return {};
    const auto release = [](void *bits) {
        delete static_cast<std::shared_ptr<const uchar> *>(bits);
    };
    return QImage(frame.bits.get(), frame.size.width(), frame.size.height(), frame.stride,
                  QImage::Format_RGB32, release, new std::shared_ptr<const uchar>(frame.bits));
}

// Reads the screen for the picker: where the pointer is and the colour of one
// pixel. Every coordinate is in native screen pixels (device pixels of the
// whole desktop, origin at its top-left corner), never in the toolkit's scaled
// logical pixels, so the position shown and the pixel read agree whatever the
// scale factor. Called from the user-interface thread only.
class ScreenSampler
{
public:
    virtual ~ScreenSampler() = default;

    // False where the screen cannot be read at all (no display connection, an
    // offscreen or Wayland-only session); the other methods then do no work.
    virtual bool available() const = 0;

    // The pointer position on the desktop; (0, 0) when it cannot be read, so
    // a caller comparing with the last position sees no movement.
    virtual QPoint pointerPosition() = 0;

    // The colour the screen shows at a desktop point, whichever window covers
    // it; nothing when the point is off the desktop or cannot be read.
    virtual std::optional<Rgb> pixelColor(QPoint screen) = 0;

    // The desktop's monitors in native pixels, as the display server lays
    // them out; empty where it does not say (the toolkit's own, rounded to
    // its logical pixels, must then do).
    virtual QList<QRect> monitors() { return {}; }

    // The ICC profile the desktop publishes for each of monitors(), in that
    // order: an empty array for a monitor without one. The desktop's
    // colour-management daemon may change them at any time;
    // profilesChanged() says whether it has since the last call here.
    virtual QList<QByteArray> monitorProfiles() { return {}; }
    virtual bool profilesChanged() { return false; }
    // Whether monitors came, went or changed size since the last call here;
    // reads beyond the old desktop's edge work from then on.
    virtual bool layoutChanged() { return false; }

    // Every monitor read at once, as one frame of the desktop's bounding
    // box; a null frame where the screen cannot be read whole.
    virtual ScreenFrame grabFrame() { return {}; }
    // Every monitor held at once on the display server, as grabFrame()
    // would read them; null where the server cannot hold them (grabFrame()
    // then serves).
    virtual std::unique_ptr<HeldScreen> holdScreen() { return {}; }

    // Moves the pointer to a desktop point, so that a user can step it one
    // device pixel at a time; false where the desktop does not let programs
    // move the pointer (then canMovePointer() says so beforehand).
    virtual bool canMovePointer() const { return false; }
    virtual bool movePointer(QPoint) { return false; }

    // The colours of the square of desktop pixels within `radius` of `centre`,
    // row by row (2·radius + 1 on a side); nothing for pixels off the desktop.
    // A sampler that can reads the square in one request, so that its centre
    // and its neighbours show the same moment of the screen.
    virtual std::vector<std::optional<Rgb>> pixelColors(QPoint centre, int radius)
    {
        std::vector<std::optional<Rgb>> area;
        for (int y = centre.y() - radius; y <= centre.y() + radius; ++y) {
            for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
                area.push_back(pixelColor({x, y}));
        }
        return area;
    }
};

// The sampler of the platform the program runs on; one that reports
// available() == false where the screen cannot be read. Defined by the
// platform folder the build picks.
std::unique_ptr<ScreenSampler> createScreenSampler();

} // namespace tintavo
