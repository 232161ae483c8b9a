#pragma once

#include "picker/frozen_screen.h"
#include "picker/picture_view.h"
#include "platform/pointer_grab.h"

#include <QImage>
#include <QRasterWindow>
#include <QRect>

#include <optional>

namespace tintavo {

// One monitor's part of a frozen frame, covering that monitor. Where the
// display server holds the frame it shows it as the window's background;
// where the desktop read the frame, the window takes the pointer, clicks and
// keys for the frame and draws a crosshair and the loupe.
class FrameWindow : public QRasterWindow
{
public:
    // A window the pointer passes through, over `native`, the monitor's
    // rectangle of the desktop.
    FrameWindow(FrozenScreen *frozen, const QRect &native);

    // The window of `frozen`'s own pointer on `output`, filling its screen.
    FrameWindow(FrozenScreen *frozen, const FrameOutput &output);

    // The window of a picture `frozen` shows on `monitor`, filling it: the
    // picture zooms and pans in it.
    FrameWindow(FrozenScreen *frozen, QScreen *monitor);

    // Where a picture shows: moves it just enough for `pixel` to show.
    void reveal(QPoint pixel);
    const std::optional<PictureView> &pictureView() const { return m_view; }

    // The display server shows the held frame as this window's background:
    // only what lies over it is painted here.
    void setHeld(bool held) { m_held = held; }

    // Shows what changed: where nothing lies over a held frame any more, the
    // server draws it again from what it holds, and nothing is painted here.
    void refresh();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *) override;
    void mouseMoveEvent(QMouseEvent *event) override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // Told once the event is over: a listener may close the frame, and this
    // window with it. Nothing is told once the frame has gone.
    template <typename Tell> void later(Tell tell)
    {
        PointerGrab *input = m_frozen->m_input.get();
        QMetaObject::invokeMethod(
            input, [input, tell] { tell(input); }, Qt::QueuedConnection);
    }

    // The selected region's marks, and an outline of dark and light dashes a
    // device pixel wide just outside it: seen on any colour. The painter
    // works in device pixels.
    void paintRegion(QPainter &p);

    void resizeEvent(QResizeEvent *) override;
    void pointTo(QPointF local);

    // Frame pixels to this window's device pixels.
    QPointF toDevice(QPointF pixel) const;

    void paintCrosshair(QPainter &p);

    void paintLoupe(QPainter &p);

    // A picture's zoom and pan: the keys, the wheel, the middle button and
    // space+drag. Whether the event was one of them.
    bool pictureKey(QKeyEvent *event);
    bool panPress(QMouseEvent *event);
    void zoomBy(int steps, QPointF device);
    void panBy(QPointF device);
    // Repaints, and tells the frame, after the picture's zoom or pan changed.
    void viewMoved();

    FrozenScreen *m_frozen;
    bool m_ownsPointer = false;
    bool m_held = false;
    QRect m_pixels; // the monitor's rectangle of the frame
    // Frame pixels to one of the window's logical pixels.
    double m_scaleX = 1, m_scaleY = 1;
    // The shown frame at this window's device size, where they differ.
    QImage m_resampled;
    qint64 m_resampledFrom = 0;
    // A picture's view; none on a screen's frame.
    std::optional<PictureView> m_view;
    bool m_spaceDown = false;
    int m_wheelPending = 0;           // eighths of a degree short of a notch
    std::optional<QPointF> m_panFrom; // a drag that pans, in device pixels
};

} // namespace tintavo
