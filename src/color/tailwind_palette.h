#pragma once

#include "color/rgb.h"

#include <QString>

#include <array>

namespace tintavo {

// Tailwind CSS v4's default colour palette: black, white and 26 families of
// eleven steps each, 50 (lightest) to 950 (darkest), given in OKLCH.

inline constexpr std::array kTailwindSteps{50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 950};
inline constexpr int kTailwindStepCount = int(kTailwindSteps.size());

// Per step, over the chromatic families (those with a step of chroma above
// 0.1, so not the greys): the mean OKLCH lightness, which falls from step to
// step, and the mean chroma.
const std::array<double, kTailwindStepCount> &tailwindStepLightness();
const std::array<double, kTailwindStepCount> &tailwindStepChroma();

// The palette's colour nearest to `c` by ΔE_OK, measured to its exact OKLCH
// value. `exact` where `c` is that colour as sRGB shows it (out-of-gamut
// values clipped per channel, as browsers draw them), rounded to 8 bits.
struct TailwindMatch
{
    QString name; // "blue-500", "black", "white"
    double deltaE = 0;
    bool exact = false;
};
TailwindMatch nearestTailwindColor(Rgb c);

} // namespace tintavo
