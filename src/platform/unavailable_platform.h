#pragma once

#include "platform/global_hotkey.h"
#include "platform/pointer_grab.h"
#include "platform/screen_sampler.h"

namespace tintavo {

// The screen and keyboard services of a session that offers neither (offscreen,
// Wayland without X11): the picker still opens, shows nothing and has no hot key.
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

} // namespace tintavo
