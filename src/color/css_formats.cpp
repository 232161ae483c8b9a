#include "color/css_formats.h"

#include "color/color_space.h"
#include "color/css_names.h"

#include <QRegularExpression>

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
    QStringList channels;
    for (const double v : p3) {
        // Display P3 holds all of sRGB: anything outside 0..1 is rounding
        // noise, which would otherwise show as "-0.0000".
        const double linear = std::clamp(v, 0.0, 1.0);
        const double encoded =
            linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
        channels << QString::number(encoded, 'f', 4);
    }
    return QStringLiteral("color(display-p3 %1)").arg(channels.join(u' '));
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

std::optional<Rgb> parseCssColor(const QString &text)
{
    const QString t = text.trimmed().toLower();
    static const QRegularExpression hexForm(QStringLiteral("^#([0-9a-f]{3}|[0-9a-f]{6})$"));
    static const QRegularExpression rgbForm(QStringLiteral(
        R"(^rgb\(\s*(\d{1,3})(?:\s*,\s*|\s+)(\d{1,3})(?:\s*,\s*|\s+)(\d{1,3})\s*\)$)"));
    if (const QRegularExpressionMatch m = hexForm.match(t); m.hasMatch()) {
        QString digits = m.captured(1);
        if (digits.size() == 3) {
            for (int i = 2; i >= 0; --i)
                digits.insert(i, digits[i]);
        }
        const uint v = digits.toUInt(nullptr, 16);
        return rgb(int(v >> 16), int((v >> 8) & 0xFF), int(v & 0xFF));
    }
    if (const QRegularExpressionMatch m = rgbForm.match(t); m.hasMatch()) {
        int channels[3];
        for (int i = 0; i < 3; ++i) {
            channels[i] = m.captured(i + 1).toInt();
            if (channels[i] > 255)
                return std::nullopt;
        }
        // Both separators in one colour, "rgb(1, 2 3)", are no CSS form.
        if (t.count(u',') % 2 != 0)
            return std::nullopt;
        return rgb(channels[0], channels[1], channels[2]);
    }
    return cssNamedColor(t);
}

QString cssDeclaration(Rgb foreground, Rgb background)
{
    return QStringLiteral("color: %1; background-color: %2;")
        .arg(cssColor(foreground, CssFormat::Hex), cssColor(background, CssFormat::Hex));
}

} // namespace tintavo
