#pragma once

#include "color/rgb.h"
#include "picker/monitor_profiles.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <memory>
#include <optional>
#include <vector>

namespace tintavo {

class DesktopPicking;
class LoupeWindow;
class PointerGrab;
class ScreenSampler;
enum class PickOutcome;

// One pick for a script, without the picker window: the pointer and the
// keyboard are taken, the loupe follows the pointer, and the first left click
// (or Return) picks the colour under it, as the picker would store it (the
// mean of its square, taken back to sRGB where the monitor publishes a
// profile); a right click or Escape calls it off. The arrow keys step the
// pointer by one device pixel. Where the desktop hands out picks itself (a
// Wayland session), it asks the desktop for one instead.
class OneShotPick : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        bool loupe = true;
        int sampleSize = 1; // as stored; anything but 3 or 5 is one pixel
        bool colorManaged = true;
    };

    OneShotPick(ScreenSampler &sampler, PointerGrab &grab, Options options);
    explicit OneShotPick(std::unique_ptr<DesktopPicking> desktop);
    ~OneShotPick() override;

    // Starts the pick; exactly one of the signals below follows.
    void start();

signals:
    void picked(tintavo::Rgb color);
    void cancelled();
    // Why no pick could be made, as one line in Chinese and English.
    void failed(const QString &why);

private:
    void tryGrab();
    void sample();
    void pickAt(QPoint point);
    void finish();
    void cancel();
    void finishDesktopPick(PickOutcome outcome, Rgb color);

    ScreenSampler *m_sampler = nullptr;
    PointerGrab *m_grab = nullptr;
    Options m_options;
    std::unique_ptr<DesktopPicking> m_desktop;
    std::unique_ptr<LoupeWindow> m_loupe;
    QList<QRect> m_monitors;
    MonitorProfiles m_profiles;
    QObject *m_ticker = nullptr; // the sampling timer, gone when the pick ends
    int m_grabTries = 0;
    QPoint m_lastPointer{-1, -1};
    bool m_done = false;
};

} // namespace tintavo
