#include "color/vision_simulation.h"
#include "color/vision_table.h"

#include <gtest/gtest.h>

#include <vector>

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

// A whole frame is converted by table, as the published models say, pixel
// for pixel: every 5th value of each channel (52³ colours), in blocks of rows
// with repeats, the alpha dropped and the stride's gap left alone.
TEST(Simulation, FrameTableGivesWhatEachColourGives)
{
    std::vector<quint32> in, out;
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5)
                in.insert(in.end(), 2, 0x12000000u | quint32(r << 16 | g << 8 | b));
    const int width = 52 * 2, rows = int(in.size()) / width / 2; // every other row
    for (const VisionMode mode : kVisionModes) {
        const VisionTable table(mode);
        out.assign(in.size(), 0xDEADBEEFu);
        table.applyRows(in.data(), 2 * width, out.data(), 2 * width, width, rows);
        for (size_t i = 0; i < in.size(); ++i) {
            const bool converted = (i / size_t(width)) % 2 == 0;
            const quint32 p = in[i];
            const Rgb want = simulateVision(rgb(p >> 16 & 255, p >> 8 & 255, p & 255), mode);
            const quint32 wanted =
                0xFF000000u | quint32(want.red << 16 | want.green << 8 | want.blue);
            ASSERT_EQ(out[i], converted ? wanted : 0xDEADBEEFu) << i << ' ' << int(mode);
        }
    }
}

} // namespace
