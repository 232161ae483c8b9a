#include "colorbox/ramp_files.h"

#include "color/css_formats.h"
#include "color/palette_ramp.h"
#include "color/tailwind_palette.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace tintavo {

namespace {

// The name of colour `i`: ramp i / 11, step i % 11.
QString stepName(const QString &name, size_t i)
{
    const size_t ramp = i / kTailwindSteps.size();
    const QString base = ramp == 0 ? name : QStringLiteral("%1-%2").arg(name).arg(ramp + 1);
    return QStringLiteral("%1-%2").arg(base).arg(kTailwindSteps[i % kTailwindSteps.size()]);
}

} // namespace

bool isRampName(const QString &name)
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z][A-Za-z0-9_-]*$"));
    return form.match(name).hasMatch();
}

QByteArray rampCssLines(const QString &name, const std::vector<Rgb> &colors)
{
    QString out;
    for (size_t i = 0; i < colors.size(); ++i)
        out += QStringLiteral("--%1: %2;\n")
                   .arg(stepName(name, i), cssColor(colors[i], CssFormat::HexLower));
    return out.toUtf8();
}

QByteArray tailwindThemeBytes(const QString &name, const std::vector<Rgb> &colors)
{
    const QString base = name.isEmpty() ? QStringLiteral("color") : QStringLiteral("color-") + name;
    QString out = QStringLiteral("@theme {\n");
    const auto line = [&out](const QString &variable, Rgb c) {
        out += QStringLiteral("  --%1: %2;\n").arg(variable, cssColor(c, CssFormat::HexLower));
    };
    size_t ramps = 0, loose = 0;
    for (size_t i = 0; i < colors.size();) {
        if (colors.size() - i >= kTailwindSteps.size() && isRamp(&colors[i])) {
            for (size_t step = 0; step < kTailwindSteps.size(); ++step)
                line(stepName(base, ramps * kTailwindSteps.size() + step), colors[i + step]);
            ++ramps;
            i += kTailwindSteps.size();
        } else {
            line(QStringLiteral("%1-%2").arg(base).arg(++loose), colors[i++]);
        }
    }
    return (out + QStringLiteral("}\n")).toUtf8();
}

QByteArray rampGimpPaletteBytes(const QString &name, const std::vector<Rgb> &colors)
{
    QByteArray out = "GIMP Palette\nName: " + name.toUtf8() +
                     "\nColumns: " + QByteArray::number(kTailwindStepCount) + "\n#\n";
    for (size_t i = 0; i < colors.size(); ++i)
        out += QStringLiteral("%1 %2 %3\t%4\n")
                   .arg(colors[i].red)
                   .arg(colors[i].green)
                   .arg(colors[i].blue)
                   .arg(stepName(name, i))
                   .toUtf8();
    return out;
}

QString rampNameForFile(const QString &path)
{
    const QString base = QFileInfo(path).completeBaseName();
    return isRampName(base) ? base : QStringLiteral("tintavo");
}

} // namespace tintavo
