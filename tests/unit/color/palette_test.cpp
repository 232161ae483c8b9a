// Ramps, harmonies, Tailwind names and copy templates, checked in OKLCH
// against what the user is promised rather than against the code's steps.
#include "color/color_space.h"
#include "color/color_template.h"
#include "color/palette_ramp.h"
#include "color/tailwind_palette.h"
#include "reference_color.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tintavo;

namespace {

double hueDistance(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

// The ladder is Tailwind's mean over its chromatic families, greys left out
// (they would pull the light steps up and the dark ones down).
TEST(Ramp, LadderIsTailwindsChromaticMean)
{
    const std::pair<int, std::pair<double, double>> rows[] = {
        {0, {0.9772, 0.0177}}, {5, {0.6827, 0.2141}}, {10, {0.2779, 0.0877}}};
    for (const auto &[step, expected] : rows) {
        EXPECT_NEAR(tailwindStepLightness()[size_t(step)], expected.first, 5e-5) << step;
        EXPECT_NEAR(tailwindStepChroma()[size_t(step)], expected.second, 5e-5) << step;
    }
}

// Whatever the colour: it stands unchanged at the step whose ladder lightness
// is nearest its own; the steps darken strictly; every other step keeps the
// ladder's lightness (chroma, not lightness, gave way to the gamut) and,
// where it has enough chroma to show one, the colour's hue; a grey's are grey.
TEST(Ramp, KeepsTheColourAndItsHue)
{
    const std::pair<int, int> rows[] = {
        // colour, the step it lands on
        {0x808080, 6}, {0x000000, 10}, {0xFFFFFF, 0},  {0x1D4ED8, 7},  {0x2B7FFF, 6},
        {0xFDFCF5, 0}, {0xF4F8FF, 0},  {0x0A0A14, 10}, {0x140500, 10}, {0xFF0000, 6},
        {0x00FF00, 3}, {0x0000FF, 8},  {0xFFFF00, 0},  {0x00FFFF, 2},  {0xFF00FF, 5}};
    for (const auto &[web, landing] : rows) {
        const Rgb color = reference::web(web);
        const OkLch own = toOkLch(color);
        const Ramp ramp = rampOf(color);
        SCOPED_TRACE(QString::number(web, 16).toStdString());
        EXPECT_EQ(ramp.ownStep, landing);
        EXPECT_EQ(ramp.steps[size_t(landing)], color);
        for (int i = 0; i < kTailwindStepCount; ++i) {
            const Rgb step = ramp.steps[size_t(i)];
            const OkLch lch = toOkLch(step);
            if (i > 0) {
                EXPECT_LT(lch.L, toOkLch(ramp.steps[size_t(i - 1)]).L) << i;
            }
            if (i == landing)
                continue;
            EXPECT_NEAR(lch.L, tailwindStepLightness()[size_t(i)], 0.006) << i;
            if (own.C < 1e-6) {
                EXPECT_TRUE(step.red == step.green && step.green == step.blue) << i;
            }
            // An 8-bit channel moves a chroma of 0.02 by up to about 6°.
            if (lch.C > 0.02) {
                EXPECT_LT(hueDistance(lch.h, own.h), 0.12 / lch.C) << i;
            }
        }
    }
}

// The partners sit at their offsets, at the colour's lightness; a grey's
// partners are that grey.
TEST(Harmony, PartnersAtTheirHues)
{
    const std::pair<Harmony, std::vector<double>> rows[] = {{Harmony::Complementary, {180}},
                                                            {Harmony::Analogous, {30, 330}},
                                                            {Harmony::Triadic, {120, 240}},
                                                            {Harmony::Split, {150, 210}},
                                                            {Harmony::Tetradic, {90, 180, 270}}};
    for (const int web : {0x3366CC, 0xCD890F, 0x2E8B57}) {
        const Rgb color = reference::web(web);
        const OkLch own = toOkLch(color);
        for (const auto &[harmony, offsets] : rows) {
            const std::vector<Rgb> colors = harmonyOf(color, harmony);
            ASSERT_EQ(colors.size(), offsets.size() + 1);
            EXPECT_EQ(colors[0], color);
            for (size_t i = 0; i < offsets.size(); ++i) {
                const OkLch lch = toOkLch(colors[i + 1]);
                EXPECT_LT(hueDistance(lch.h, own.h + offsets[i]), 2.0)
                    << web << ' ' << harmonyKeyword(harmony).toStdString() << ' ' << i;
                EXPECT_NEAR(lch.L, own.L, 0.006);
                EXPECT_LE(lch.C, own.C + 0.003);
            }
        }
        EXPECT_EQ(harmonyOf(reference::web(0x777777), Harmony::Tetradic),
                  std::vector<Rgb>(4, reference::web(0x777777)));
    }
    EXPECT_EQ(harmonyFromKeyword(u"Split"), Harmony::Split);
    EXPECT_EQ(harmonyFromKeyword(u"square"), std::nullopt);
}

// Exact where the colour is Tailwind's as sRGB shows it (the hex values
// Tailwind's own documentation gives), otherwise the nearest.
TEST(Tailwind, ExactAndNearest)
{
    const std::tuple<int, const char *, bool> rows[] = {
        {0x2B7FFF, "blue-500", true},    {0xFB2C36, "red-500", true},
        {0x00BC7D, "emerald-500", true}, {0x0F172B, "slate-900", true},
        {0xFFD230, "amber-300", true},   {0xFFFFFF, "white", true},
        {0x000000, "black", true},       {0x2B7FFE, "blue-500", false},
        {0x3B82F6, "blue-500", false},   {0xFEFEFE, "white", false}};
    for (const auto &[web, name, exact] : rows) {
        const TailwindMatch match = nearestTailwindColor(reference::web(web));
        EXPECT_EQ(match.name, QLatin1String(name)) << web;
        EXPECT_EQ(match.exact, exact) << web;
        if (!exact) {
            EXPECT_LT(match.deltaE, 0.03) << web;
        }
    }
}

TEST(CopyTemplate, EveryPlaceholder)
{
    const std::tuple<QString, int, QString, QStringList> rows[] = {
        {"{hex} {HEX} #{r},{g},{b}", 0x1E90FF, "1e90ff 1E90FF #30,144,255", {}},
        {"hsl({h}, {s}%, {l}%)", 0x1E90FF, "hsl(210, 100%, 56%)", {}},
        {"oklch({L} {C} {H})", 0x123456, "oklch(0.319 0.072 251.2)", {}},
        {"[{name}] [{tailwind}]", 0x1E90FF, "[dodgerblue] [blue-500]", {}},
        {"[{name}] {H}", 0x808080, "[gray] 0.0", {}},
        {"<color name=\"c\">#{HEX}</color>", 0xCD890F, "<color name=\"c\">#CD890F</color>", {}},
        // Unknown words stay as written, named once; braces that hold no
        // word are no placeholder.
        {"{rgb} { hex } {Hex}{rgb}", 0x000000, "{rgb} { hex } {Hex}{rgb}", {"{rgb}", "{Hex}"}}};
    for (const auto &[pattern, web, text, unknown] : rows) {
        const FilledTemplate filled = fillColorTemplate(pattern, reference::web(web));
        EXPECT_EQ(filled.text, text);
        EXPECT_EQ(filled.unknown, unknown);
    }
}

} // namespace
