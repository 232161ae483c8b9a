#pragma once

#include "platform/screen_sampler.h"

#include <QImage>
#include <memory>
#include <vector>

namespace tintavo {

class FrameWindow;

// The screen read once and shown over everything, so that what shows only
// for a moment (a hover colour, an open menu, a tooltip, a video frame) can
// be picked at leisure. It stands in for the live screen: its pixels come
// from the frame, while the pointer is the desktop's own.
class FrozenScreen : public ScreenSampler
{
public:
    // Reads every monitor of `live` at once; isNull() where it could not.
    explicit FrozenScreen(ScreenSampler &live);
    ~FrozenScreen() override;

    bool isNull() const { return m_frame.isNull(); }
    // Shows the frame over everything, one window on each monitor, every
    // screen pixel on the device pixel it was read from.
    void show();

    bool available() const override { return !m_frame.isNull(); }
    QPoint pointerPosition() override { return m_live.pointerPosition(); }
    std::optional<Rgb> pixelColor(QPoint screen) override;
    QList<QRect> monitors() override { return m_live.monitors(); }
    bool canMovePointer() const override { return m_live.canMovePointer(); }
    bool movePointer(QPoint screen) override { return m_live.movePointer(screen); }

private:
    ScreenSampler &m_live;
    QImage m_frame;
    std::vector<std::unique_ptr<FrameWindow>> m_windows;
};

} // namespace tintavo
