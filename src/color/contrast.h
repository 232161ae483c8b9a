#pragma once

#include "color/rgb.h"

#include <QString>

#include <optional>

namespace tintavo {

// Text contrast as WCAG 2.2 defines it: the relative luminance of each colour
// (sRGB channels linearised with the 0.04045 threshold, weighted
// 0.2126/0.7152/0.0722) and the ratio (L1 + 0.05) / (L2 + 0.05), lighter over
// darker, from 1 to 21.

double relativeLuminance(Rgb c);
double contrastRatio(Rgb a, Rgb b);

// The minimum ratios for normal and large text at levels AA and AAA.
namespace contrast {
inline constexpr double kNormalAA = 4.5;
inline constexpr double kNormalAAA = 7.0;
inline constexpr double kLargeAA = 3.0;
inline constexpr double kLargeAAA = 4.5;
} // namespace contrast

struct ContrastGrades
{
    bool normalAA = false, normalAAA = false, largeAA = false, largeAAA = false;
};

// Judged on the exact ratio, never on the shown one.
ContrastGrades contrastGrades(double ratio);

// The ratio with two decimals, cut rather than rounded, so that a pair just
// below a threshold never shows the threshold: 4.4999 reads "4.49".
QString contrastRatioText(double ratio);
// A ratio already cut to hundredths: 454 reads "4.54".
QString hundredthsText(long long hundredths);

// The short read-out of a pair, e.g. "对比度 4.54:1  正文 AA✓ AAA✗  大字 AA✓ AAA✓".
QString contrastSummary(double ratio);

// The lightness contrast Lc of APCA-W3 0.0.98G-4g for `text` on `background`:
// about 0 to 106 for dark text on a light ground, about 0 to -108 the other
// way round. Informative only: WCAG 2.2 does not use it.
double apcaContrast(Rgb text, Rgb background);

// "APCA Lc 63.1": one decimal, a minus sign for light text on dark.
QString apcaText(double lc);

// What the contrast plate and tintavo --contrast show for a pair: the WCAG
// read-out, then APCA, e.g. "对比度 3.54:1  正文 AA✗ AAA✗  大字 AA✓ AAA✗  APCA Lc 63.1".
QString pairContrastText(Rgb text, Rgb background);

// Whether any colour, of whatever hue, reaches `target` against `against`:
// black or white does when anything does.
bool contrastReachable(Rgb against, double target);

// The colour nearest to `color` whose contrast with `against` reaches `target`:
// same OKLCH hue, lightness moved as little as possible (darker or lighter,
// whichever needs less), chroma lowered only where the colour would leave the
// sRGB gamut. `color` itself when it passes already; nothing when no colour of
// that hue reaches the target.
std::optional<Rgb> nearestPassingColor(Rgb color, Rgb against, double target);

} // namespace tintavo
