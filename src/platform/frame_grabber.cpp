#include "platform/frame_grabber.h"

#include <algorithm>
#include <cmath>

namespace tintavo {

QList<QRect> cutOutputs(QSize frame, const QList<QRect> &logical)
{
    QRect box;
    for (const QRect &r : logical)
        box |= r;
    if (box.isEmpty() || frame.isEmpty())
        return {};
    const double kx = double(frame.width()) / box.width();
    const double ky = double(frame.height()) / box.height();
    // Each edge on its own, so that neighbours share theirs exactly.
    const auto edge = [](int at, int origin, double k) {
        return int(std::lround((at - origin) * k));
    };
    QList<QRect> cuts;
    for (const QRect &r : logical) {
        const QPoint topLeft(edge(r.left(), box.left(), kx), edge(r.top(), box.top(), ky));
        const QPoint end(edge(r.left() + r.width(), box.left(), kx),
                         edge(r.top() + r.height(), box.top(), ky));
        cuts.append(QRect(topLeft, end - QPoint(1, 1)) & QRect(QPoint(), frame));
    }
    return cuts;
}

QPoint framePixelAt(QPointF local, QSize window, const QRect &pixels)
{
    if (window.isEmpty() || pixels.isEmpty())
        return pixels.topLeft();
    const double kx = double(pixels.width()) / window.width();
    const double ky = double(pixels.height()) / window.height();
    // Wayland rounds the pointer's place to the nearest 1/256 of a logical
    // pixel, which at a fractional scale can fall just short of the edge of
    // the device pixel it is on: read as far on as that rounding allows.
    // At scales 1 and 2, whose edges all lie on such steps, half a step
    // changes nothing.
    constexpr double kHalfStep = 1.0 / 512;
    const QPoint pixel =
        pixels.topLeft() + QPoint(int(std::floor((local.x() + kHalfStep) * kx)),
                                  int(std::floor((local.y() + kHalfStep) * ky)));
    return {std::clamp(pixel.x(), pixels.left(), pixels.right()),
            std::clamp(pixel.y(), pixels.top(), pixels.bottom())};
}

} // namespace tintavo
