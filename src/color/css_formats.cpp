#include "color/css_formats.h"

#include "color/color_space.h"
#include "color/css_color_reader.h"

#include <QStringList>

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

// Whether `text` reads back as `c` with room to spare: every channel lands
// well inside its rounding interval, so a reader that rounds or computes a
// little differently (a browser) still gets the same 8-bit colour.
bool readsBackAs(const QString &text, Rgb c)
{
    const CssColorReading back = readCssColor(text);
    if (back.color != c || back.gamutMapped || back.clamped)
        return false;
    for (int i = 0; i < 3; ++i)
        if (std::abs(back.exact[size_t(i)] - c.channel(i)) > 0.35)
            return false;
    return true;
}

// The form with the fewest decimals (`extra` more than the least) that reads
// back as `c`.
template <typename Format> QString shortestExact(Rgb c, Format format)
{
    QString text;
    for (int extra = 0; extra <= 4; ++extra) {
        text = format(extra);
        if (readsBackAs(text, c))
            break;
    }
    return text;
}

QString decimals(double v, int places)
{
    QString text = QString::number(v, 'f', places);
    // "-0.0" is no number a person writes.
    if (text.startsWith(u'-') && text.toDouble() == 0)
        text.remove(0, 1);
    return text;
}

// As decimals(), without the zeros that end a fraction: 210, 65.4, 0.
QString shortDecimals(double v, int places)
{
    QString text = decimals(v, places);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

QString hsl(Rgb c)
{
    const int r = c.red, g = c.green, b = c.blue;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b}), d = hi - lo;
    double hue = 0, saturation = 0;
    if (d > 0) {
        int sixths;
        if (hi == r)
            sixths = g - b + (g < b ? 6 * d : 0);
        else if (hi == g)
            sixths = b - r + 2 * d;
        else
            sixths = r - g + 4 * d;
        hue = 60.0 * sixths / d;
        saturation = 100.0 * d / (255 - std::abs(hi + lo - 255));
    }
    const double lightness = 100.0 * (hi + lo) / 510;
    return shortestExact(c, [&](int places) {
        QString h = shortDecimals(hue, places);
        // 359.96 shows as 360, which is 0.
        if (h.toDouble() >= 360)
            h = QStringLiteral("0");
        return QStringLiteral("hsl(%1 %2% %3%)")
            .arg(h, shortDecimals(saturation, places), shortDecimals(lightness, places));
    });
}

QString oklch(Rgb c)
{
    const OkLch lch = toOkLch(c);
    return shortestExact(c, [&](int extra) {
        const QString chroma = decimals(lch.C, 3 + extra);
        // A grey has no hue; CSS takes 0 for it.
        double hue = 0;
        if (chroma.toDouble() != 0) {
            hue = lch.h;
            if (decimals(hue, 1 + extra).toDouble() >= 360)
                hue = 0;
        }
        return QStringLiteral("oklch(%1 %2 %3)")
            .arg(decimals(std::clamp(lch.L, 0.0, 1.0), 3 + extra), chroma,
                 decimals(hue, 1 + extra));
    });
}

// Through XYZ (D65), with the exact fractions CSS Color 4 publishes for its
// matrices; Display P3 shares sRGB's transfer curve.
QString displayP3(Rgb c)
{
    constexpr double toXyz[3][3] = {{506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
                                    {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
                                    {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270}};
    constexpr double toP3[3][3] = {{446124.0 / 178915, -333277.0 / 357830, -72051.0 / 178915},
                                   {-14852.0 / 17905, 63121.0 / 35810, 423.0 / 17905},
                                   {11844.0 / 330415, -50337.0 / 660830, 316169.0 / 330415}};
    const LinearRgb lin = toLinear(c);
    const double srgb[3] = {lin.r, lin.g, lin.b};
    double xyz[3] = {}, p3[3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            xyz[i] += toXyz[i][j] * srgb[j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            p3[i] += toP3[i][j] * xyz[j];
    return shortestExact(c, [&](int extra) {
        QStringList channels;
        for (const double v : p3) {
            // Display P3 holds all of sRGB: anything outside 0..1 is rounding
            // noise, which would otherwise show as "-0.0000".
            channels << decimals(encodedChannel(std::clamp(v, 0.0, 1.0)), 4 + extra);
        }
        return QStringLiteral("color(display-p3 %1)").arg(channels.join(u' '));
    });
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
    case CssFormat::DisplayP3:
        return displayP3(c);
    }
    return {};
}

QString cssDeclaration(Rgb foreground, Rgb background)
{
    return QStringLiteral("color: %1; background-color: %2;")
        .arg(cssColor(foreground, CssFormat::Hex), cssColor(background, CssFormat::Hex));
}

} // namespace tintavo
