#pragma once

#include "platform/desktop_picking.h"
#include "platform/frame_grabber.h"
#include "platform/global_hotkey.h"
#include "platform/pointer_grab.h"
#include "platform/pointer_watch.h"
#include "platform/screen_change_watch.h"
#include "platform/screen_sampler.h"

namespace tintavo {

// The services of a session that offers none of them (offscreen, Wayland
// without X11, or a build without a platform): the picker still opens, shows
// nothing and has no hot key.
class UnavailableScreenSampler : public ScreenSampler
{
public:
    bool available() const override { return false; }
    QPoint pointerPosition() override { return {}; }
    std::optional<Rgb> pixelColor(QPoint) override { return std::nullopt; }
};

class UnavailableGlobalHotKey : public GlobalHotKey
{
    Q_OBJECT

public:
    using GlobalHotKey::GlobalHotKey;
    HotKeyResult registerKey(QKeyCombination) override { return HotKeyResult::Unsupported; }
    void unregisterKey() override {}
};

class UnavailablePointerGrab : public PointerGrab
{
    Q_OBJECT

public:
    using PointerGrab::PointerGrab;
    GrabResult grab() override { return GrabResult::Unsupported; }
    void release() override {}
};

class UnavailablePointerWatch : public PointerWatch
{
    Q_OBJECT

public:
    using PointerWatch::PointerWatch;
    bool watching() const override { return false; }
};

class UnavailableScreenChangeWatch : public ScreenChangeWatch
{
    Q_OBJECT

public:
    using ScreenChangeWatch::ScreenChangeWatch;
    bool watching() const override { return false; }
};

// Every pick and key binding ends as Missing, from the event loop, as the
// callers of a real desktop expect the answer.
class UnavailableDesktopPicking : public DesktopPicking
{
    Q_OBJECT

public:
    using DesktopPicking::DesktopPicking;
    void pick(const QString &) override
    {
        QMetaObject::invokeMethod(
            this, [this] { emit picked(PickOutcome::Missing, {}); }, Qt::QueuedConnection);
    }
    bool picking() const override { return false; }
    void bindKey(QKeyCombination, const QString &, const QString &) override
    {
        QMetaObject::invokeMethod(
            this, [this] { emit keyBound(PickOutcome::Missing); }, Qt::QueuedConnection);
    }
};

// No frame to be had: every grab ends as Missing, from the event loop.
class UnavailableFrameGrabber : public FrameGrabber
{
    Q_OBJECT

public:
    using FrameGrabber::FrameGrabber;
    void grab() override
    {
        QMetaObject::invokeMethod(
            this, [this] { emit failed(PickOutcome::Missing); }, Qt::QueuedConnection);
    }
    bool grabbing() const override { return false; }
};

} // namespace tintavo
