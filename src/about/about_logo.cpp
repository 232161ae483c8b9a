#include "about/about_logo.h"

#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace tintavo {

// A colour wheel with an eyedropper dipped into it, and the title below. Drawn
// rather than shipped as a picture, so it stays sharp and needs no resource.
QPixmap makeAboutLogo(qreal devicePixelRatio)
{
    const qreal ratio = std::max<qreal>(devicePixelRatio, 1);
    QPixmap logo((QSizeF(150, 182) * ratio).toSize());
    logo.setDevicePixelRatio(ratio);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(75, 72);
    QConicalGradient hues(centre, 90);
    const QColor stops[] = {Qt::red, Qt::magenta, Qt::blue, Qt::cyan, Qt::green, Qt::yellow};
    for (int i = 0; i < 6; ++i)
        hues.setColorAt(i / 6.0, stops[i]);
    hues.setColorAt(1.0, Qt::red);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(hues);
    p.drawEllipse(centre, 60, 60);

    QRadialGradient fade(centre, 60);
    fade.setColorAt(0.0, QColor(255, 255, 255, 255));
    fade.setColorAt(0.35, QColor(255, 255, 255, 200));
    fade.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.drawEllipse(centre, 59, 59);

    // The eyedropper, lying from the upper right into the wheel's middle.
    p.save();
    p.translate(centre);
    p.rotate(-45);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(230, 236, 240));
    p.drawRoundedRect(QRectF(8, -5, 44, 10), 3, 3); // glass tube
    p.setBrush(QColor(205, 137, 15));
    p.drawRect(QRectF(10, -3, 18, 6)); // the colour taken up
    p.setBrush(QColor(50, 50, 50));
    p.drawRoundedRect(QRectF(52, -8, 20, 16), 6, 6); // rubber bulb
    QPainterPath tip;
    tip.moveTo(8, -3);
    tip.lineTo(-2, 0);
    tip.lineTo(8, 3);
    tip.closeSubpath();
    p.setBrush(QColor(230, 236, 240));
    p.drawPath(tip);
    p.restore();

    QFont font = p.font();
    font.setPixelSize(24);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(30, 60, 140));
    p.drawText(QRectF(0, 138, 150, 40), Qt::AlignCenter, QStringLiteral("Vantolux!"));
    p.end();
    return logo;
}

} // namespace tintavo
