#pragma once

#include <QColor>
#include <QHash>
#include <QImage>

namespace tintavo::test {

// The colour that covers most of `image`: a text box's background.
inline QColor dominantColor(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb best = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(best))
            best = it.key();
    return QColor::fromRgb(best);
}

// Whether some pixel of `image` shows `color`, give or take `tolerance` per
// channel (the fully covered middle of a glyph's stroke, for text).
inline bool showsColor(const QImage &image, const QColor &color, int tolerance = 8)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - color.red()) <= tolerance &&
                qAbs(c.green() - color.green()) <= tolerance &&
                qAbs(c.blue() - color.blue()) <= tolerance)
                return true;
        }
    }
    return false;
}

} // namespace tintavo::test
