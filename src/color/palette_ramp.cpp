#include "color/palette_ramp.h"

#include "color/color_space.h"

#include <algorithm>
#include <cmath>

namespace tintavo {

Ramp rampOf(Rgb c)
{
    const auto &ladder = tailwindStepLightness();
    const auto &chroma = tailwindStepChroma();
    // A grey's hue is rounding noise; its ramp keeps no chroma to show it.
    const bool grey = c.red == c.green && c.green == c.blue;
    const OkLch own = toOkLch(c);
    Ramp ramp;
    for (int i = 1; i < kTailwindStepCount; ++i) {
        if (std::abs(ladder[size_t(i)] - own.L) < std::abs(ladder[size_t(ramp.ownStep)] - own.L))
            ramp.ownStep = i;
    }
    const double scale = grey ? 0.0 : own.C / chroma[size_t(ramp.ownStep)];
    for (int i = 0; i < kTailwindStepCount; ++i) {
        ramp.steps[size_t(i)] =
            i == ramp.ownStep
                ? c
                : colorOnLightnessLine(ladder[size_t(i)], scale * chroma[size_t(i)], own.h);
    }
    return ramp;
}

bool isRamp(const Rgb *steps)
{
    std::vector<double> hues;
    double above = 2;
    for (int i = 0; i < kTailwindStepCount; ++i) {
        const OkLch c = toOkLch(steps[i]);
        if (c.L >= above)
            return false;
        above = c.L;
        if (c.C >= 0.03)
            hues.push_back(c.h);
    }
    if (hues.size() < 2)
        return true;
    // The hues span the circle less the widest gap between neighbours.
    std::sort(hues.begin(), hues.end());
    double gap = 360 - (hues.back() - hues.front());
    for (size_t i = 1; i < hues.size(); ++i)
        gap = std::max(gap, hues[i] - hues[i - 1]);
    return 360 - gap <= 60;
}

std::vector<double> harmonyOffsets(Harmony harmony)
{
    switch (harmony) {
    case Harmony::Complementary:
        return {180};
    case Harmony::Analogous:
        return {30, -30};
    case Harmony::Triadic:
        return {120, -120};
    case Harmony::Split:
        return {150, 210};
    case Harmony::Tetradic:
        return {90, 180, 270};
    }
    return {};
}

std::vector<Rgb> harmonyOf(Rgb c, Harmony harmony)
{
    const bool grey = c.red == c.green && c.green == c.blue;
    const OkLch own = toOkLch(c);
    std::vector<Rgb> colors{c};
    for (const double offset : harmonyOffsets(harmony))
        colors.push_back(colorOnLightnessLine(own.L, grey ? 0.0 : own.C,
                                              std::fmod(own.h + offset + 360.0, 360.0)));
    return colors;
}

QString harmonyTitle(Harmony harmony)
{
    switch (harmony) {
    case Harmony::Complementary:
        return QStringLiteral("互补");
    case Harmony::Analogous:
        return QStringLiteral("类似");
    case Harmony::Triadic:
        return QStringLiteral("三角");
    case Harmony::Split:
        return QStringLiteral("分裂互补");
    case Harmony::Tetradic:
        return QStringLiteral("四角");
    }
    return {};
}

QString harmonyKeyword(Harmony harmony)
{
    switch (harmony) {
    case Harmony::Complementary:
        return QStringLiteral("complementary");
    case Harmony::Analogous:
        return QStringLiteral("analogous");
    case Harmony::Triadic:
        return QStringLiteral("triadic");
    case Harmony::Split:
        return QStringLiteral("split");
    case Harmony::Tetradic:
        return QStringLiteral("tetradic");
    }
    return {};
}

std::optional<Harmony> harmonyFromKeyword(QStringView keyword)
{
    for (const Harmony h : kHarmonies)
        if (keyword.compare(harmonyKeyword(h), Qt::CaseInsensitive) == 0)
            return h;
    return std::nullopt;
}

} // namespace tintavo
