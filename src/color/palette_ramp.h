#pragma once

#include "color/rgb.h"
#include "color/tailwind_palette.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace tintavo {

// A colour's tint and shade ramp: eleven steps named as Tailwind's (50 to
// 950), light to dark, on a fixed OKLCH lightness ladder (Tailwind v4's mean
// per step), all in the colour's own hue. Each step's chroma is the colour's,
// scaled by Tailwind's mean chroma at that step over the mean at the step the
// colour lands on, and lowered, never the hue or lightness, until it lies
// inside sRGB. The colour itself stands, unchanged, at the step whose ladder
// lightness is nearest its own. A grey's ramp is grey.
struct Ramp
{
    std::array<Rgb, kTailwindStepCount> steps;
    int ownStep = 0; // the index in `steps` of the colour itself
};
Ramp rampOf(Rgb c);

// Whether eleven colours read as one ramp, light to dark: OKLCH lightness
// falling from each step to the next, and the hues of the coloured steps
// (chroma 0.03 or more) within 60° of one another, as wide as Tailwind's own
// families drift (amber's spans 50°). A grey ramp has no hue to agree on.
bool isRamp(const Rgb *steps);

// Colours that go with a colour: partners at fixed OKLCH hue offsets, with the
// colour's lightness and chroma (chroma lowered into sRGB where it runs out).
enum class Harmony
{
    Complementary, // +180°
    Analogous,     // +30°, -30°
    Triadic,       // +120°, -120°
    Split,         // +150°, +210° (split complementary)
    Tetradic,      // +90°, +180°, +270°
};
inline constexpr std::array kHarmonies{Harmony::Complementary, Harmony::Analogous, Harmony::Triadic,
                                       Harmony::Split, Harmony::Tetradic};

// The colour first, then its partners in the order above.
std::vector<Rgb> harmonyOf(Rgb c, Harmony harmony);
// The hue offsets of the partners, in degrees.
std::vector<double> harmonyOffsets(Harmony harmony);
// "互补", "类似", "三角", "分裂互补", "四角".
QString harmonyTitle(Harmony harmony);
// As the command line spells them: complementary, analogous, triadic, split, tetradic.
QString harmonyKeyword(Harmony harmony);
std::optional<Harmony> harmonyFromKeyword(QStringView keyword);

} // namespace tintavo
