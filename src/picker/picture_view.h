#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

class QPainter;
class QString;

namespace tintavo {

// Where a picture shown as a frame lies on its monitor: its zoom and the
// device pixel its top-left corner falls on. At 100 % one picture pixel is
// one device pixel, centred where the picture is smaller than the monitor
// and from its top-left corner where it is larger; whatever the zoom, a
// picture larger than the monitor can be moved until each of its edges shows,
// and a smaller one stays centred.
class PictureView
{
public:
    static constexpr double kLeastZoom = 1.0 / 8;
    static constexpr double kMostZoom = 32;
    // From this zoom on a one-pixel grid parts the picture's pixels.
    static constexpr double kGridZoom = 8;

    PictureView(QSize picture, QSize monitor);

    double zoom() const { return m_zoom; }
    QPointF origin() const { return m_origin; }
    QSize picture() const { return m_picture; }
    // The monitor changed size (the window came up full screen).
    void setMonitor(QSize monitor);

    // One step up or down the zoom levels, keeping the picture pixel under
    // `about` (device pixels) where it is; `steps` > 0 zooms in.
    void zoomBy(int steps, QPointF about);
    // Back to 100 %, as first shown.
    void reset();
    // Moves the picture by `delta` device pixels, within reach.
    void pan(QPointF delta);
    // Moves the picture just enough for `pixel` to show whole.
    void reveal(QPoint pixel);

    QPointF toDevice(QPointF pixel) const { return m_origin + pixel * m_zoom; }
    // The picture pixel at `device`; it may lie outside the picture.
    QPoint pixelAt(QPointF device) const;
    // The picture pixels that show, whole or in part.
    QRect visiblePixels() const;

    // Draws the visible part of `shown` over a neutral dark background,
    // without smoothing from 100 % up, and the grid from kGridZoom on.
    void paint(QPainter &p, const QImage &shown) const;
    // The corner label at the bottom left of `area` (the painter's
    // pixels): the picture's size, the zoom, and `profile`.
    void paintLabel(QPainter &p, const QString &profile, const QRect &area) const;

private:
    void keepInReach();
    // The picture's pixels that fall in `target` (device pixels, within the
    // picture's) at a whole zoom above 100 %, with the grid where it shows.
    const QImage &enlarged(const QImage &shown, const QRect &target) const;

    QSize m_picture;
    QSize m_monitor;
    double m_zoom = 1;
    QPointF m_origin;
    mutable QImage m_enlarged; // kept between repaints: the next is as large
};

} // namespace tintavo
