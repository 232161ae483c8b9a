#pragma once

#include "platform/desktop_picking.h"
#include "platform/screen_sampler.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QString>
#include <memory>

namespace tintavo {

// One monitor's share of a frame read by the desktop: the toolkit's screen it
// belongs to and the rectangle of frame pixels that show it.
struct FrameOutput
{
    QString screenName; // QScreen::name()
    QRect logical;      // the screen's geometry as the toolkit has it
    QRect pixels;       // its part of the frame
};

// The whole desktop read once by the desktop itself, for sessions where no
// program may read the screen on its own (Wayland): the compositor answers
// later, so the frame comes by a signal. Lives on the user-interface thread.
class FrameGrabber : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Asks for a frame; grabbed() or failed() follows once, always from the
    // event loop. Does nothing while one is under way.
    virtual void grab() = 0;
    virtual bool grabbing() const = 0;
    // Drops the frame asked for (the user stopped waiting for the desktop's
    // permission): nothing follows, and the desktop may drop its dialog.
    virtual void cancel() {}

signals:
    // Every monitor at once, in device pixels; outputs in the order of the
    // toolkit's screens.
    void grabbed(const tintavo::ScreenFrame &frame, const QList<tintavo::FrameOutput> &outputs);
    // The desktop has no such service (Missing, TooOld), refused or failed
    // (Failed, Cancelled, Ended) or did not answer (NoAnswer).
    void failed(tintavo::PickOutcome outcome);
};

// Where each monitor lies in a frame of the whole layout: the frame covers the
// bounding box of the monitors' logical rectangles at one scale (that of the
// finest monitor: a coarser one comes scaled up), so every edge is placed by
// that ratio and rounded to whole pixels. Empty when there is nothing to cut.
QList<QRect> cutOutputs(QSize frame, const QList<QRect> &logical);

// The frame pixel under `local`, a point of a window that shows `pixels` of
// the frame over the whole of its `window` logical pixels, as the compositor
// sized it; held to `pixels`. The monitor's real scale is the frame's size
// against the window's: the toolkit's own idea of the screen may be off
// (GNOME at scale 2 gives it the monitor's device size as its logical one).
QPoint framePixelAt(QPointF local, QSize window, const QRect &pixels);

// The desktop's frame reader (the Screenshot portal, on Linux); one that
// answers Missing where there is none. Defined by the platform folder the
// build picks.
std::unique_ptr<FrameGrabber> createFrameGrabber();

} // namespace tintavo
