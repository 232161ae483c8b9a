#include "color/color_template.h"

#include "color/color_space.h"
#include "color/css_formats.h"
#include "color/css_names.h"
#include "color/tailwind_palette.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace tintavo {

namespace {

// The three numbers of cssColor's hsl() form, as whole numbers.
QStringList hslParts(Rgb c)
{
    QString form = cssColor(c, CssFormat::Hsl); // "hsl(210 65% 20%)"
    form.remove(u'%');
    QStringList parts = form.mid(4, form.size() - 5).split(u' ');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const long whole = std::lround(parts[i].toDouble());
        parts[i] = QString::number(i == 0 ? whole % 360 : whole);
    }
    return parts;
}

QStringList oklchParts(Rgb c)
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
    return {QString::number(std::clamp(lch.L, 0.0, 1.0), 'f', 3), chroma,
            QString::number(hue, 'f', 1)};
}

} // namespace

FilledTemplate fillColorTemplate(const QString &pattern, Rgb c)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([A-Za-z]+)\\}"));
    FilledTemplate filled;
    QStringList hsl, oklch;
    qsizetype from = 0;
    for (const QRegularExpressionMatch &m : placeholder.globalMatch(pattern)) {
        filled.text += QStringView(pattern).mid(from, m.capturedStart() - from);
        from = m.capturedEnd();
        const QString word = m.captured(1);
        const QString hex = cssColor(c, CssFormat::HexLower).mid(1);
        if (word == u"hex") {
            filled.text += hex;
        } else if (word == u"HEX") {
            filled.text += hex.toUpper();
        } else if (word == u"r" || word == u"g" || word == u"b") {
            filled.text += QString::number(c.channel(int(QStringLiteral("rgb").indexOf(word))));
        } else if (word == u"h" || word == u"s" || word == u"l") {
            if (hsl.isEmpty())
                hsl = hslParts(c);
            filled.text += hsl[QStringLiteral("hsl").indexOf(word)];
        } else if (word == u"L" || word == u"C" || word == u"H") {
            if (oklch.isEmpty())
                oklch = oklchParts(c);
            filled.text += oklch[QStringLiteral("LCH").indexOf(word)];
        } else if (word == u"name") {
            filled.text += cssNamesOf(c).value(0);
        } else if (word == u"tailwind") {
            filled.text += nearestTailwindColor(c).name;
        } else {
            filled.text += m.captured(0);
            if (!filled.unknown.contains(m.captured(0)))
                filled.unknown << m.captured(0);
        }
    }
    filled.text += QStringView(pattern).mid(from);
    return filled;
}

} // namespace tintavo
