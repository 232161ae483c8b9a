#include "color/css_formats.h"

#include "color/color_space.h"

#include <algorithm>
#include <cmath>

namespace tintavo {

namespace {

QString hex(Rgb c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.red, 2, 16, QChar(u'0'))
        .arg(c.green, 2, 16, QChar(u'0'))
        .arg(c.blue, 2, 16, QChar(u'0'));
}

// Hue, saturation and lightness from the integer channels, each as one exact
// division so that halves round the way they should (up).
QString hsl(Rgb c)
{
    const int r = c.red, g = c.green, b = c.blue;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b}), d = hi - lo;
    int hue = 0, saturation = 0;
    if (d > 0) {
        int sixths;
        if (hi == r)
            sixths = g - b + (g < b ? 6 * d : 0);
        else if (hi == g)
            sixths = b - r + 2 * d;
        else
            sixths = r - g + 4 * d;
        hue = static_cast<int>(std::lround(60.0 * sixths / d)) % 360;
        saturation = static_cast<int>(std::lround(100.0 * d / (255 - std::abs(hi + lo - 255))));
    }
    const int lightness = static_cast<int>(std::lround(100.0 * (hi + lo) / 510));
    return QStringLiteral("hsl(%1 %2% %3%)").arg(hue).arg(saturation).arg(lightness);
}

QString oklch(Rgb c)
{
    const OkLch lch = toOkLch(c);
    const QString chroma = QString::number(lch.C, 'f', 3);
    // A grey has no hue; CSS takes 0 for it.
    double hue = 0;
    if (chroma != QLatin1String("0.000")) {
        hue = std::round(lch.h * 10) / 10;
        if (hue >= 360)
            hue = 0;
    }
    return QStringLiteral("oklch(%1 %2 %3)")
        .arg(QString::number(std::clamp(lch.L, 0.0, 1.0), 'f', 3), chroma,
             QString::number(hue, 'f', 1));
}

} // namespace

QString cssColor(Rgb c, CssFormat format)
{
    switch (format) {
    case CssFormat::Hex:
        return hex(c).toUpper();
    case CssFormat::HexLower:
        return hex(c);
    case CssFormat::Rgb:
        return QStringLiteral("rgb(%1 %2 %3)").arg(c.red).arg(c.green).arg(c.blue);
    case CssFormat::RgbCommas:
        return QStringLiteral("rgb(%1, %2, %3)").arg(c.red).arg(c.green).arg(c.blue);
    case CssFormat::Hsl:
        return hsl(c);
    case CssFormat::Oklch:
        return oklch(c);
    }
    return {};
}

QString cssDeclaration(Rgb foreground, Rgb background)
{
    return QStringLiteral("color: %1; background-color: %2;")
        .arg(cssColor(foreground, CssFormat::Hex), cssColor(background, CssFormat::Hex));
}

} // namespace tintavo
