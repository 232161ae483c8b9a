#include "color/color_space.h"
#include "color/contrast.h"
#include "reference_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace tintavo;
using reference::web;

namespace {

// The figure shown (cut, not rounded) and the marks: normal AA, normal AAA,
// large AA, large AAA, from the exact ratio. The main window's tests read
// everyday pairs off the read-out.
TEST(ContrastRatio, ShownCutAndGradedOnTheExactRatio)
{
    const std::tuple<int, int, const char *, const char *> rows[] = {
        // clang-format off
        {0x000000, 0xFFFFFF, "21.00", "++++"}, {0xFFFFFF, 0x000000, "21.00", "++++"},
        {0xCD890F, 0xCD890F, "1.00", "----"}, {0x595959, 0xFFFFFF, "7.00", "++++"},
        // Just under a threshold: 4.49995, 2.99997, 6.9999 and 4.49995 again.
        {0xE9070B, 0x000000, "4.49", "--+-"}, {0x559AD8, 0xFFFFFF, "2.99", "----"},
        {0xFBADA8, 0x44098C, "6.99", "+-++"}, {0x0D8764, 0xFFFFFF, "4.49", "--+-"},
        {0x9090C7, 0x000000, "6.99", "+-++"}, {0xFF0000, 0xFFFFFF, "3.99", "--+-"},
        {0x0A0A0A, 0x0B0B0B, "1.00", "----"}, {0x010101, 0x000000, "1.00", "----"},
        {0xA5CD68, 0x4D3C1A, "5.83", "+-++"}, {0x2C0146, 0xDE06CE, "4.18", "--+-"}};
    // clang-format on
    for (const auto &[fg, bg, shown, marks] : rows) {
        const double ratio = contrastRatio(web(fg), web(bg));
        EXPECT_EQ(contrastRatioText(ratio), QString::fromLatin1(shown)) << std::hex << fg;
        const ContrastGrades g = contrastGrades(ratio);
        const char got[] = {g.normalAA ? '+' : '-', g.normalAAA ? '+' : '-', g.largeAA ? '+' : '-',
                            g.largeAAA ? '+' : '-', '\0'};
        EXPECT_STREQ(got, marks) << std::hex << fg;
    }
}

// The adjusted colour reaches the target on the same hue with the least
// lightness change: nothing nearer on the line, either way, passes (the margin
// covers the rounding of the result to whole channels).
TEST(NearestPassing, ReachesTheTargetWithTheLeastLightnessChange)
{
    const std::tuple<int, int, double> rows[] = {
        // clang-format off
        {0x777777, 0xFFFFFF, 4.5}, {0x777777, 0xFFFFFF, 7.0}, {0xCD890F, 0xFFFFFF, 4.5},
        {0xCD890F, 0x000000, 7.0}, {0xFF0000, 0xFFFFFF, 4.5}, {0xFF0000, 0x000000, 7.0},
        {0x00FF00, 0x00A000, 3.0}, {0x3050FF, 0x202040, 4.5}, {0x808080, 0x808080, 4.5},
        {0x2A9D8F, 0xE9C46A, 4.5}, {0xFFFF00, 0xFFFFFF, 7.0}, {0x101010, 0x000000, 4.5}};
    // clang-format on
    for (const auto &[color, against, target] : rows) {
        const std::optional<Rgb> found = nearestPassingColor(web(color), web(against), target);
        ASSERT_TRUE(found) << std::hex << color;
        EXPECT_GE(contrastRatio(*found, web(against)), target);
        const OkLch from = toOkLch(web(color)), to = toOkLch(*found);
        if (from.C > 0.05 && to.C > 0.05) {
            EXPECT_NEAR(std::remainder(to.h - from.h, 360.0), 0.0, 3.0);
        }
        const double reach = std::abs(to.L - from.L) - 0.004;
        for (double d = 0; d < reach; d += 0.001)
            for (const double L : {from.L - d, from.L + d})
                EXPECT_LT(contrastRatio(colorOnLightnessLine(L, from.C, from.h), web(against)),
                          target)
                    << std::hex << color << " L " << L;
    }
    EXPECT_EQ(nearestPassingColor(web(0x000000), web(0xFFFFFF), 7.0), web(0x000000));
    for (const int fg : {0x000000, 0xFFFFFF, 0xFF0000, 0x0000FF, 0xCD890F})
        EXPECT_FALSE(nearestPassingColor(web(fg), web(0x777777), 7.0)) << std::hex << fg;
}

} // namespace
