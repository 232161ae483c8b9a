#include "color/contrast.h"

#include "color/color_space.h"

#include <cmath>
#include <utility>

namespace tintavo {

double relativeLuminance(Rgb c)
{
    const LinearRgb rgb = toLinear(c);
    return 0.2126 * rgb.r + 0.7152 * rgb.g + 0.0722 * rgb.b;
}

double contrastRatio(Rgb a, Rgb b)
{
    double la = relativeLuminance(a);
    double lb = relativeLuminance(b);
    if (la < lb)
        std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

ContrastGrades contrastGrades(double ratio)
{
    return {ratio >= contrast::kNormalAA, ratio >= contrast::kNormalAAA,
            ratio >= contrast::kLargeAA, ratio >= contrast::kLargeAAA};
}

QString contrastRatioText(double ratio)
{
    return hundredthsText(static_cast<long long>(std::floor(ratio * 100.0)));
}

QString hundredthsText(long long hundredths)
{
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QChar(u'0'));
}

QString contrastSummary(double ratio)
{
    const ContrastGrades g = contrastGrades(ratio);
    auto mark = [](bool pass) { return pass ? QStringLiteral("✓") : QStringLiteral("✗"); };
    return QStringLiteral("对比度 %1:1  正文 AA%2 AAA%3  大字 AA%4 AAA%5")
        .arg(contrastRatioText(ratio), mark(g.normalAA), mark(g.normalAAA), mark(g.largeAA),
             mark(g.largeAAA));
}

namespace {

// APCA's screen luminance: a plain power curve rather than the sRGB one, and
// its own coefficients, as the published constants have them.
double apcaLuminance(Rgb c)
{
    const auto lin = [](int channel) { return std::pow(channel / 255.0, 2.4); };
    const double y = 0.2126729 * lin(c.red) + 0.7151522 * lin(c.green) + 0.0721750 * lin(c.blue);
    // Near-black lifted, for the flare of a real screen.
    constexpr double kBlackThreshold = 0.022, kBlackClamp = 1.414;
    return y < kBlackThreshold ? y + std::pow(kBlackThreshold - y, kBlackClamp) : y;
}

} // namespace

double apcaContrast(Rgb text, Rgb background)
{
    const double yText = apcaLuminance(text), yBackground = apcaLuminance(background);
    constexpr double kScale = 1.14, kOffset = 0.027, kLowClip = 0.1, kMinDeltaY = 0.0005;
    if (std::abs(yBackground - yText) < kMinDeltaY)
        return 0;
    if (yBackground > yText) {
        const double sapc = (std::pow(yBackground, 0.56) - std::pow(yText, 0.57)) * kScale;
        return sapc < kLowClip ? 0 : (sapc - kOffset) * 100;
    }
    const double sapc = (std::pow(yBackground, 0.65) - std::pow(yText, 0.62)) * kScale;
    return sapc > -kLowClip ? 0 : (sapc + kOffset) * 100;
}

QString apcaText(double lc)
{
    // Below the clip the figure is exactly 0, so no "-0.0" can come of it.
    return QStringLiteral("APCA Lc ") + QString::number(lc, 'f', 1);
}

QString pairContrastText(Rgb text, Rgb background)
{
    return contrastSummary(contrastRatio(text, background)) + QStringLiteral("  ") +
           apcaText(apcaContrast(text, background));
}

bool contrastReachable(Rgb against, double target)
{
    return contrastRatio(rgb(0, 0, 0), against) >= target ||
           contrastRatio(rgb(255, 255, 255), against) >= target;
}

std::optional<Rgb> nearestPassingColor(Rgb color, Rgb against, double target)
{
    if (contrastRatio(color, against) >= target)
        return color;
    // The line ends in black and white, the extremes of contrast.
    if (!contrastReachable(against, target))
        return std::nullopt;
    const OkLch start = toOkLch(color);
    auto colorAt = [&](double L) { return colorOnLightnessLine(L, start.C, start.h); };
    auto passes = [&](double L) { return contrastRatio(colorAt(L), against) >= target; };

    // Walk each way along the lightness line to the first colour that passes,
    // then narrow the step down to the boundary. The steps are far finer than
    // any stretch over which the contrast could dip below the target again.
    constexpr int kSteps = 1000;
    std::optional<double> best;
    for (const double end : {0.0, 1.0}) {
        double failing = start.L;
        for (int i = 1; i <= kSteps; ++i) {
            double passing = start.L + (end - start.L) * i / kSteps;
            if (!passes(passing)) {
                failing = passing;
                continue;
            }
            for (int j = 0; j < 40; ++j) {
                const double mid = (failing + passing) / 2;
                (passes(mid) ? passing : failing) = mid;
            }
            if (!best || std::abs(passing - start.L) < std::abs(*best - start.L))
                best = passing;
            break;
        }
    }
    if (!best)
        return std::nullopt;
    return colorAt(*best);
}

} // namespace tintavo
