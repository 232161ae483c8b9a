#pragma once

#include "color/rgb.h"

#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>

namespace tintavo {

class DesktopPicking;
class FrameGrabber;
class FrozenScreen;
class PickEngine;
class PointerGrab;
class ScreenSampler;
struct FrameOutput;
struct ScreenFrame;
enum class PickOutcome;

// One pick for a script, without the picker window: the pointer and the
// keyboard are taken, the loupe follows the pointer, and the first left click
// (or Return) picks the colour under it, as the picker would store it (the
// mean of its square, taken back to sRGB where the monitor publishes a
// profile); a right click or Escape calls it off. The arrow keys step the
// pointer by one device pixel. Frozen, it first reads the screen once and
// shows that frame over everything, and picks from it. Where the desktop
// keeps the screen to itself (a Wayland session), it asks the desktop for a
// frame and picks from it the same way, in windows that take the pointer
// and draw a crosshair of their own; where the desktop gives no frame, it
// asks the desktop for its own one-pixel pick instead.
class OneShotPick : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        bool loupe = true;
        int sampleSize = 1; // as stored; anything but 3 or 5 is one pixel
        bool colorManaged = true;
        // Seconds after which the screen is frozen; none: picked live.
        std::optional<int> freezeAfter;
    };

    OneShotPick(ScreenSampler &sampler, PointerGrab &grab, Options options);
    // Picks on the desktop's frames where `frames` gives them, else through
    // the desktop's own pick.
    OneShotPick(std::unique_ptr<DesktopPicking> desktop, std::unique_ptr<FrameGrabber> frames,
                Options options);
    ~OneShotPick() override;

    // Starts the pick; exactly one of the signals below follows.
    void start();

signals:
    void picked(tintavo::Rgb color);
    void cancelled();
    // Why no pick could be made, as one line in Chinese and English.
    void failed(const QString &why);

private:
    void listen();
    void freeze();
    void pickOnFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs);
    void frameRefused(PickOutcome outcome);
    void tryGrab();
    void pickAt(QPoint point);
    void finish();
    void cancel();
    void finishDesktopPick(PickOutcome outcome, Rgb color);

    ScreenSampler *m_sampler = nullptr;
    PointerGrab *m_grab = nullptr;
    Options m_options;
    std::unique_ptr<DesktopPicking> m_desktop;
    std::unique_ptr<FrameGrabber> m_frames;
    std::unique_ptr<PickEngine> m_engine;
    std::unique_ptr<FrozenScreen> m_frozen;
    int m_grabTries = 0;
    bool m_done = false;
};

} // namespace tintavo
