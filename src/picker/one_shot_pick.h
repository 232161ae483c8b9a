#pragma once

#include "color/rgb.h"
#include "picker/pick_settings.h"

#include <QObject>
#include <QPoint>
#include <memory>
#include <optional>

namespace tintavo {

class DesktopPicking;
class FrameGrabber;
class FrameSession;
class FrozenScreen;
class PickEngine;
class PointerGrab;
class ScreenSampler;
struct FrameOutput;
struct ScreenFrame;
enum class GrabResult;
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
    // `freezeAfter`: seconds after which the screen is frozen; none: picked live.
    OneShotPick(ScreenSampler &sampler, std::unique_ptr<PointerGrab> grab, PickSettings settings,
                std::optional<int> freezeAfter = std::nullopt);
    // Picks on the desktop's frames where `frames` gives them, else through
    // the desktop's own pick.
    OneShotPick(std::unique_ptr<DesktopPicking> desktop, std::unique_ptr<FrameGrabber> frames,
                PickSettings settings, std::optional<int> freezeAfter = std::nullopt);
    // Picks on `picture`, a picture shown as a frame.
    OneShotPick(std::unique_ptr<FrozenScreen> picture, PickSettings settings);
    ~OneShotPick() override;

    // Starts the pick; exactly one of the signals below follows.
    void start();

signals:
    void picked(tintavo::Rgb color);
    void cancelled();
    // Why no pick could be made, as one line in Chinese and English.
    void failed(const QString &why);

private:
    void freeze();
    void pickOnFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs);
    void frameRefused(PickOutcome outcome);
    void startSession(FrameSession *session);
    void grabRefused(GrabResult why);
    void pickAt(QPoint point);
    void finish();
    void cancel();
    void fail(const QString &why);
    void finishDesktopPick(PickOutcome outcome, Rgb color);

    ScreenSampler *m_sampler = nullptr;
    std::unique_ptr<PointerGrab> m_grab;
    PickSettings m_settings;
    std::optional<int> m_freezeAfter;
    std::unique_ptr<DesktopPicking> m_desktop;
    std::unique_ptr<FrameGrabber> m_frames;
    std::unique_ptr<FrozenScreen> m_picture;
    // The live screen's engine; a frame the desktop read has its own.
    std::unique_ptr<PickEngine> m_engine;
    FrameSession *m_session = nullptr;
    bool m_done = false;
};

} // namespace tintavo
