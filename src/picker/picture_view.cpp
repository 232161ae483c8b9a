#include "picker/picture_view.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>

namespace tintavo {

namespace {

// The zoom levels the keys and the wheel step through.
constexpr std::array kZoomLevels{1.0 / 8, 1.0 / 4, 1.0 / 2, 2.0 / 3, 1.0, 2.0,  3.0,
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
    p.fillRect(QRect(QPoint(0, 0), m_monitor), kBackground);
    const QRect part = visiblePixels();
    if (part.isEmpty() || shown.isNull())
        return;
    const QRectF target(toDevice(part.topLeft()), QSizeF(part.size()) * m_zoom);
    if (m_zoom == 1) {
        p.drawImage(target.topLeft(), shown, part);
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 1);
        p.drawImage(target, shown, part);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    if (m_zoom < kGridZoom)
        return;
    p.setPen(QPen(kGrid, 0));
    for (int x = part.left() + 1; x <= part.right(); ++x) {
        const double at = toDevice(QPointF(x, 0)).x();
        p.drawLine(QPointF(at, target.top()), QPointF(at, target.bottom() - 1));
    }
    for (int y = part.top() + 1; y <= part.bottom(); ++y) {
        const double at = toDevice(QPointF(0, y)).y();
        p.drawLine(QPointF(target.left(), at), QPointF(target.right() - 1, at));
    }
}

void PictureView::paintLabel(QPainter &p, const QString &profile, const QRect &area) const
{
    const QString zoom = m_zoom >= 1 ? QString::number(m_zoom * 100, 'f', 0)
                                     : QString::number(m_zoom * 100, 'f', 1);
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
