#include "picker/picture_view.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace tintavo {

namespace {

// The zoom levels the keys and the wheel step through.
constexpr std::array kZoomLevels{1.0 / 8, 1.0 / 4, 1.0 / 2, 2.0 / 3, 1.0,  2.0,  3.0,
                                 4.0,     6.0,     8.0,     12.0,    16.0, 24.0, 32.0};

const QColor kBackground(0x2b, 0x2b, 0x2b);
// Grey, half seen: it parts dark pixels and light ones alike.
const QColor kGrid(0x80, 0x80, 0x80, 0x70);

} // namespace

PictureView::PictureView(QSize picture, QSize monitor) : m_picture(picture), m_monitor(monitor)
{
    reset();
}

void PictureView::setMonitor(QSize monitor)
{
    if (monitor == m_monitor)
        return;
    m_monitor = monitor;
    keepInReach();
}

void PictureView::reset()
{
    m_zoom = 1;
    m_origin = {0, 0};
    keepInReach();
}

void PictureView::zoomBy(int steps, QPointF about)
{
    const auto at = std::lower_bound(kZoomLevels.begin(), kZoomLevels.end(), m_zoom - 1e-9);
    const auto index = std::clamp<std::ptrdiff_t>(at - kZoomLevels.begin() + steps, 0,
                                                  std::ptrdiff_t(kZoomLevels.size()) - 1);
    const double zoom = kZoomLevels[size_t(index)];
    const QPointF under = (about - m_origin) / m_zoom;
    m_zoom = zoom;
    m_origin = about - under * m_zoom;
    keepInReach();
}

void PictureView::pan(QPointF delta)
{
    m_origin += delta;
    keepInReach();
}

void PictureView::reveal(QPoint pixel)
{
    const QPointF first = toDevice(pixel), last = toDevice(pixel + QPoint(1, 1));
    QPointF shift;
    if (first.x() < 0)
        shift.rx() = -first.x();
    else if (last.x() > m_monitor.width())
        shift.rx() = m_monitor.width() - last.x();
    if (first.y() < 0)
        shift.ry() = -first.y();
    else if (last.y() > m_monitor.height())
        shift.ry() = m_monitor.height() - last.y();
    pan(shift);
}

void PictureView::keepInReach()
{
    // Whole device pixels, so that the picture's pixels and the grid stay
    // crisp.
    const auto axis = [this](double origin, int picture, int monitor) {
        const double shown = picture * m_zoom;
        if (shown <= monitor)
            return std::floor((monitor - shown) / 2);
        return std::round(std::clamp(origin, monitor - shown, 0.0));
    };
    m_origin = {axis(m_origin.x(), m_picture.width(), m_monitor.width()),
                axis(m_origin.y(), m_picture.height(), m_monitor.height())};
}

QPoint PictureView::pixelAt(QPointF device) const
{
    const QPointF at = (device - m_origin) / m_zoom;
    return {int(std::floor(at.x())), int(std::floor(at.y()))};
}

QRect PictureView::visiblePixels() const
{
    const QPoint first = pixelAt({0, 0});
    const QPoint last = pixelAt(QPointF(m_monitor.width(), m_monitor.height()) - QPointF(1, 1));
    return QRect(first, last) & QRect(QPoint(0, 0), m_picture);
}

void PictureView::paint(QPainter &p, const QImage &shown) const
{
    const QRect monitor(QPoint(0, 0), m_monitor);
    const QRect part = shown.isNull() ? QRect() : visiblePixels();
    const QRect target =
        part.isEmpty()
            ? QRect()
            : QRectF(toDevice(part.topLeft()), QSizeF(part.size()) * m_zoom).toAlignedRect() &
                  monitor;
    // The background only where the picture is not: the monitor's worth of
    // filling would cost as much again as the picture.
    for (const QRect &band : QRegion(monitor).subtracted(target))
        p.fillRect(band, kBackground);
    if (target.isEmpty())
        return;
    if (m_zoom == 1) {
        p.drawImage(target.topLeft(), shown, part);
    } else if (m_zoom >= 4 && !shown.hasAlphaChannel()) {
        // The painter's scaling is quick at small zooms, and slow at large
        // ones, where whole runs of pixels are written instead.
        p.drawImage(target.topLeft(), enlarged(shown, target));
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 1);
        p.drawImage(QRectF(toDevice(part.topLeft()), QSizeF(part.size()) * m_zoom), shown, part);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
}

const QImage &PictureView::enlarged(const QImage &shown, const QRect &target) const
{
    // Each picture pixel written as a run of whole device pixels, and each
    // row of them copied down: far less work than the painter's scaling, and
    // the grid comes with it.
    if (m_enlarged.size() != target.size())
        m_enlarged = QImage(target.size(), QImage::Format_RGB32);
    const int zoom = int(m_zoom);
    const bool grid = m_zoom >= kGridZoom;
    const QPoint from = target.topLeft() - m_origin.toPoint(); // device pixels into the picture
    const auto blend = [](QRgb c) {
        const int a = kGrid.alpha(), g = kGrid.red();
        const auto mix = [a, g](int v) { return (v * (255 - a) + g * a + 127) / 255; };
        return qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)));
    };
    const qsizetype bytes = qsizetype(target.width()) * 4;
    int filledRow = -1, filledFrom = -1; // the last row without grid, and its picture row
    for (int y = 0; y < target.height(); ++y) {
        const int dy = from.y() + y, sy = dy / zoom;
        const bool gridRow = grid && dy % zoom == 0 && sy > 0;
        auto *out = reinterpret_cast<QRgb *>(m_enlarged.scanLine(y));
        if (!gridRow && filledFrom == sy) {
            std::memcpy(out, m_enlarged.constScanLine(filledRow), size_t(bytes));
            continue;
        }
        const auto *in = reinterpret_cast<const QRgb *>(shown.constScanLine(sy));
        int x = 0, sx = from.x() / zoom, k = from.x() % zoom;
        while (x < target.width()) {
            const QRgb c = gridRow ? blend(in[sx]) : in[sx] | 0xFF000000u;
            const QRgb edge = grid && sx > 0 && !gridRow ? blend(c) : c;
            for (; k < zoom && x < target.width(); ++k, ++x)
                out[x] = k == 0 ? edge : c;
            k = 0;
            ++sx;
        }
        if (!gridRow) {
            filledRow = y;
            filledFrom = sy;
        }
    }
    return m_enlarged;
}

void PictureView::paintLabel(QPainter &p, const QString &profile, const QRect &area) const
{
    const QString zoom =
        m_zoom >= 1 ? QString::number(m_zoom * 100, 'f', 0) : QString::number(m_zoom * 100, 'f', 1);
    const QString text = QStringLiteral("%1 × %2 · %3% · %4")
                             .arg(m_picture.width())
                             .arg(m_picture.height())
                             .arg(zoom, profile);
    const QFontMetrics metrics(p.font());
    const int margin = metrics.height() / 3;
    QRect box(QPoint(0, 0), metrics.size(0, text) + QSize(2 * margin, 2 * margin));
    box.moveBottomLeft(area.bottomLeft());
    p.fillRect(box, QColor(0, 0, 0, 0xb0));
    p.setPen(Qt::white);
    p.drawText(box.adjusted(margin, margin, -margin, -margin), Qt::AlignLeft | Qt::AlignVCenter,
               text);
}

} // namespace tintavo
