#pragma once

#include "platform/screen_sampler.h"

#include <QImage>
#include <memory>
#include <vector>

namespace tintavo {

class FrameWindow;
class VisionTable;

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
    // Takes the frame off the screen for a while (a dialog must be seen),
    // and puts it back.
    void setVisible(bool visible);

    // The frame as read, and as shown: the same, or as `view` sees it.
    const QImage &frame() const { return m_frame; }
    const QImage &shownFrame() const { return m_shown; }
    // Shows the frame as `view` sees it, converted on every core; null: as read.
    void showAs(const VisionTable *view);

    // Outlines `region` (native pixels, within the frame) and lays `marks`
    // (the region's size, transparent but for the marks) over it; an empty
    // region takes both away.
    void markRegion(const QRect &region, const QImage &marks = {});
    QRect region() const { return m_region; }
    const QImage &regionMarks() const { return m_marks; }

    bool available() const override { return !m_frame.isNull(); }
    QPoint pointerPosition() override { return m_live.pointerPosition(); }
    std::optional<Rgb> pixelColor(QPoint screen) override;
    QList<QRect> monitors() override { return m_live.monitors(); }
    bool canMovePointer() const override { return m_live.canMovePointer(); }
    bool movePointer(QPoint screen) override { return m_live.movePointer(screen); }

private:
    ScreenSampler &m_live;
    QImage m_frame;
    QImage m_shown;
    QImage m_simulated;
    QRect m_region;
    QImage m_marks;
    std::vector<std::unique_ptr<FrameWindow>> m_windows;
};

} // namespace tintavo
