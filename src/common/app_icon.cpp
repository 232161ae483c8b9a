#include "common/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tintavo {

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // Four tiles: the preview's orange and the three channels.
    const QColor tiles[] = {QColor(205, 137, 15), QColor(220, 40, 40), QColor(40, 170, 70),
                            QColor(40, 90, 210)};
    const QPointF corners[] = {{2, 2}, {17, 2}, {2, 17}, {17, 17}};
    p.setPen(QPen(QColor(60, 60, 60), 1));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(tiles[i]);
        p.drawRoundedRect(QRectF(corners[i], QSizeF(13, 13)), 2, 2);
    }

    // The eyedropper: a dark barrel with a white outline, tip at lower left.
    QPainterPath dropper;
    dropper.moveTo(7, 25);
    dropper.lineTo(21, 11);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(dropper);
    p.setPen(QPen(QColor(30, 30, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(dropper);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(24, 8), 4.5, 4.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(5.5, 26.5), 1.6, 1.6);
    return pixmap;
}

} // namespace

QIcon appIcon()
{
    QIcon icon;
    icon.addPixmap(drawIcon(16));
    icon.addPixmap(drawIcon(32));
    return icon;
}

} // namespace tintavo
