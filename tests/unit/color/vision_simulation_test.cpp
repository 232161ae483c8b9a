#include "color/vision_simulation.h"
#include "reference_color.h"

#include <gtest/gtest.h>

#include <map>

using namespace tintavo;

namespace {

// Machado, Oliveira and Fernandes (2009), the authors' published tables for
// linear sRGB, row by row; the achromat's rows are the luminance weights.
const std::map<VisionMode, std::array<double, 9>> kPublished{
    {VisionMode::Protanomaly,
     {0.385450, 0.769005, -0.154455, 0.100526, 0.829802, 0.069673, -0.007442, -0.022190, 1.029632}},
    {VisionMode::Protanopia,
     {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116, 1.051998}},
    {VisionMode::Deuteranomaly,
     {0.547494, 0.607765, -0.155259, 0.181692, 0.781742, 0.036566, -0.010410, 0.027275, 0.983136}},
    {VisionMode::Deuteranopia,
     {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940, 0.968881}},
    {VisionMode::Tritanopia,
     {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367, 0.303900}},
    {VisionMode::Achromatopsia,
     {0.2126, 0.7152, 0.0722, 0.2126, 0.7152, 0.0722, 0.2126, 0.7152, 0.0722}}};

TEST(Simulation, MatchesThePublishedModelWithinOneStep)
{
    const std::array<int, 3> colors[] = {
        {255, 0, 0},   {0, 255, 0},    {0, 0, 255},  {255, 255, 0}, {0, 255, 255},
        {255, 0, 255}, {205, 137, 15}, {18, 52, 86}, {3, 2, 1},     {250, 240, 230}};
    for (const auto &[r, g, b] : colors) {
        EXPECT_EQ(simulateVision(rgb(r, g, b), VisionMode::Normal), rgb(r, g, b));
        const double lin[] = {reference::linear(r), reference::linear(g), reference::linear(b)};
        for (const auto &[mode, m] : kPublished) {
            const Rgb seen = simulateVision(rgb(r, g, b), mode);
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(seen.channel(i),
                            reference::encoded(m[3 * i] * lin[0] + m[3 * i + 1] * lin[1] +
                                               m[3 * i + 2] * lin[2]),
                            1)
                    << r << ',' << g << ',' << b << ' ' << visionModeName(mode).toStdString();
        }
    }
    // Greys stay the same grey in every mode.
    for (int v = 0; v < 256; ++v)
        for (const VisionMode mode : kVisionModes)
            ASSERT_EQ(simulateVision(rgb(v, v, v), mode), rgb(v, v, v))
                << v << ' ' << visionModeName(mode).toStdString();
}

} // namespace
