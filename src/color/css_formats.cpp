#include "color/css_formats.h"

#include "color/color_space.h"

#include <algorithm>
#include <cmath>

namespace tintavo {

namespace {

QString hex(ColorValue c)
{
    return QStringLiteral("#%1%2%3")
        .arg(redOf(c), 2, 16, QChar(u'0'))
        .arg(greenOf(c), 2, 16, QChar(u'0'))
        .arg(blueOf(c), 2, 16, QChar(u'0'));
}

// Hue, saturation and lightness from the integer channels, each as one exact
// division so that halves round the way they should (up).
QString hsl(ColorValue c)
{
    const int r = redOf(c), g = greenOf(c), b = blueOf(c);
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

QString oklch(ColorValue c)
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

QString cssColor(ColorValue c, CssFormat format)
{
    switch (format) {
    case CssFormat::Hex:
        return hex(c).toUpper();
    case CssFormat::HexLower:
        return hex(c);
    case CssFormat::Rgb:
        return QStringLiteral("rgb(%1 %2 %3)").arg(redOf(c)).arg(greenOf(c)).arg(blueOf(c));
    case CssFormat::RgbCommas:
        return QStringLiteral("rgb(%1, %2, %3)").arg(redOf(c)).arg(greenOf(c)).arg(blueOf(c));
    case CssFormat::Hsl:
        return hsl(c);
    case CssFormat::Oklch:
        return oklch(c);
    }
    return {};
}

QString cssDeclaration(ColorValue foreground, ColorValue background)
{
    return QStringLiteral("color: %1; background-color: %2;")
        .arg(cssColor(foreground, CssFormat::Hex), cssColor(background, CssFormat::Hex));
}

} // namespace tintavo
