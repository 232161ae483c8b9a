#pragma once

#include "picker/loupe_window.h"
#include "platform/frame_grabber.h"
#include "platform/screen_sampler.h"

#include <QImage>
#include <QString>
#include <functional>
#include <future>
#include <memory>
#include <vector>

class QScreen;

namespace tintavo {

class FrameWindow;
class VisionTable;
struct LoadedPicture;
class PointerGrab;

// The screen read once and shown over everything, so that what shows only
// for a moment (a hover colour, an open menu, a tooltip, a video frame) can
// be picked at leisure. It stands in for the live screen: its pixels come
// from the frame. On X11 the pointer is the desktop's own; where the desktop
// reads the frame itself (Wayland), no program may move the pointer or take
// it, so the frame's windows take its motion, clicks and keys and show a
// crosshair and the loupe of their own.
class FrozenScreen : public ScreenSampler
{
public:
    // Takes every monitor of `live` at once; isNull() where it could not.
    // Where the display server can hold the frame, it is held and shown
    // there, and its pixels are read as they are asked for.
    explicit FrozenScreen(ScreenSampler &live);
    // A frame the desktop read, with each monitor's part of it; coordinates
    // are the frame's pixels.
    FrozenScreen(const ScreenFrame &frame, const QList<FrameOutput> &outputs);
    // A picture shown as a frame on `monitor`, the monitor the main window
    // is on: its windows take the input as for a frame the desktop read, and
    // coordinates are the picture's pixels, whatever the zoom. What is
    // picked and measured is the picture in sRGB; what shows, in the window
    // and the loupe, is its own pixels.
    FrozenScreen(const LoadedPicture &picture, QScreen *monitor);
    ~FrozenScreen() override;

    // A picture rather than a screen; its corner label names the profile
    // it went to sRGB through.
    bool isPicture() const { return m_monitor != nullptr; }
    QString pictureLabel() const { return m_pictureLabel; }

    bool isNull() const { return m_size.isEmpty(); }
    // The frame's rectangle, in its pixels.
    QRect rect() const { return QRect(QPoint(0, 0), m_size); }
    // Shows the frame over everything, one window on each monitor, every
    // frame pixel on a device pixel of its monitor.
    void show();
    // Takes the frame off the screen for a while (a dialog must be seen),
    // and puts it back.
    void setVisible(bool visible);

    // The frame as read, and as shown: the same, or as `view` sees it. A
    // frame held on the display server is read whole the first time, off
    // this thread once it is shown; these wait for that read.
    const QImage &frame();
    const QImage &shownFrame();
    // Shows the frame as `view` sees it, converted on every core; null: as read.
    void showAs(const VisionTable *view);

    // Outlines `region` (native pixels, within the frame) and lays `marks`
    // (the region's size, transparent but for the marks) over it; an empty
    // region takes both away.
    void markRegion(const QRect &region, const QImage &marks = {});
    QRect region() const { return m_region; }
    const QImage &regionMarks() const { return m_marks; }

    // Where `pixels` of the frame show on the desktop, in native pixels:
    // where they were read, or where a picture's zoom and pan put them.
    QRect onDesktop(const QRect &pixels) const;

    // Called after a picture's zoom or pan has moved its pixels on the
    // screen; empty: nothing is.
    void onViewMoved(std::function<void()> then) { m_viewMoved = std::move(then); }

    // The clicks, keys and motion on the frame's windows, where they take
    // them (a desktop-read frame); null where the pointer is the desktop's.
    PointerGrab *input() const;
    // The loupe beside the crosshair, where the frame's windows draw it.
    void showLoupe(const LoupeContent &content);

    bool available() const override { return !isNull(); }
    QPoint pointerPosition() override { return m_live ? m_live->pointerPosition() : m_pointer; }
    std::optional<Rgb> pixelColor(QPoint screen) override;
    std::vector<std::optional<Rgb>> pixelColors(QPoint centre, int radius) override;
    QList<QRect> monitors() override;
    bool canMovePointer() const override { return !m_live || m_live->canMovePointer(); }
    bool movePointer(QPoint screen) override;

private:
    friend class FrameWindow;
    bool onScreen(QPoint pixel) const;
    // Starts reading the held frame whole; once.
    void startReading();
    // The frame read whole, where it is here already; else null.
    const QImage *readyFrame();
    // Whether anything shows over the frame as read.
    bool drawsOverFrame() const { return m_simulating || !m_region.isEmpty(); }

    std::function<void()> m_viewMoved;
    ScreenSampler *m_live = nullptr;
    std::unique_ptr<HeldScreen> m_held;
    // Ended before the held frame it reads goes.
    std::future<ScreenFrame> m_reading;
    bool m_readStarted = false;
    QSize m_size;
    QImage m_frame;
    QImage m_simulated;
    bool m_simulating = false;
    QRect m_region;
    QImage m_marks;
    QList<FrameOutput> m_outputs;
    // A picture's monitor and its own pixels.
    QScreen *m_monitor = nullptr;
    QImage m_stored;
    QString m_pictureLabel;
    // The crosshair, and what the loupe beside it shows.
    QPoint m_pointer;
    LoupeContent m_loupe;
    std::unique_ptr<PointerGrab> m_input;
    std::vector<std::unique_ptr<FrameWindow>> m_windows;
};

} // namespace tintavo
