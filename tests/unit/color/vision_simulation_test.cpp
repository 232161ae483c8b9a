#include "color/vision_simulation.h"

#include <gtest/gtest.h>

using namespace tintavo;

namespace {

// What the preview shows of red, the starting background and a dark blue in
// each mode: the model of Machado, Oliveira and Fernandes (2009) on linear sRGB,
// the achromat seeing the luminance's grey.
TEST(Simulation, ShowsThePublishedModelsColours)
{
    const Rgb colors[] = {rgb(255, 0, 0), rgb(205, 137, 15), rgb(18, 52, 86)};
    const std::pair<VisionMode, std::array<Rgb, 3>> rows[] = {
        // clang-format off
        {VisionMode::Protanomaly, {rgb(167, 89, 0), rgb(175, 142, 0), rgb(32, 53, 87)}},
        {VisionMode::Protanopia, {rgb(109, 95, 0), rgb(161, 141, 0), rgb(36, 54, 87)}},
        {VisionMode::Deuteranomaly, {rgb(195, 118, 0), rgb(185, 150, 16), rgb(25, 50, 86)}},
        {VisionMode::Deuteranopia, {rgb(163, 144, 0), rgb(177, 157, 22), rgb(26, 48, 85)}},
        {VisionMode::Tritanopia, {rgb(255, 0, 15), rgb(224, 119, 117), rgb(0, 60, 64)}},
        {VisionMode::Achromatopsia, {rgb(127, 127, 127), rgb(151, 151, 151), rgb(51, 51, 51)}}};
    // clang-format on
    for (const auto &[mode, seen] : rows)
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(simulateVision(colors[i], VisionMode::Normal), colors[i]);
            EXPECT_EQ(simulateVision(colors[i], mode), seen[i])
                << visionModeName(mode).toStdString();
        }
    // Greys stay the same grey in every mode.
    for (int v = 0; v < 256; ++v)
        for (const VisionMode mode : kVisionModes)
            ASSERT_EQ(simulateVision(rgb(v, v, v), mode), rgb(v, v, v))
                << v << ' ' << visionModeName(mode).toStdString();
}

} // namespace
