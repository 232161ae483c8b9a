#include "color/color_space.h"
#include "color/contrast.h"
#include "reference_color.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tintavo;

namespace {

using reference::web;

double wcagLuminance(int rrggbb)
{
    using reference::linear;
    return 0.2126 * linear(rrggbb >> 16) + 0.7152 * linear((rrggbb >> 8) & 255) +
           0.0722 * linear(rrggbb & 255);
}

struct RatioRow
{
    int fg, bg;
    const char *shown;
    const char *marks; // normal AA, normal AAA, large AA, large AAA
};

class ContrastRatio : public testing::TestWithParam<RatioRow>
{
};

TEST_P(ContrastRatio, ShownCutAndGradedOnTheExactRatio)
{
    const RatioRow row = GetParam();
    const double ratio = contrastRatio(web(row.fg), web(row.bg));
    const double a = wcagLuminance(row.fg) + 0.05, b = wcagLuminance(row.bg) + 0.05;
    EXPECT_NEAR(ratio, std::max(a, b) / std::min(a, b), 1e-12);
    EXPECT_EQ(contrastRatioText(ratio), QString::fromLatin1(row.shown));
    const ContrastGrades g = contrastGrades(ratio);
    const char marks[] = {g.normalAA ? '+' : '-', g.normalAAA ? '+' : '-', g.largeAA ? '+' : '-',
                          g.largeAAA ? '+' : '-', '\0'};
    EXPECT_STREQ(marks, row.marks);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ContrastRatio,
    testing::Values(
        RatioRow{0x767676, 0xFFFFFF, "4.54", "+-++"}, RatioRow{0x777777, 0xFFFFFF, "4.47", "--+-"},
        RatioRow{0x000000, 0xFFFFFF, "21.00", "++++"},
        RatioRow{0xFFFFFF, 0x000000, "21.00", "++++"}, RatioRow{0xCD890F, 0xCD890F, "1.00", "----"},
        RatioRow{0xFFFFFF, 0xFFFFFF, "1.00", "----"}, RatioRow{0x000000, 0xCD890F, "7.18", "++++"},
        // Just under a threshold: 4.49995, 2.99997, 6.9999 and 4.49995 again.
        RatioRow{0xE9070B, 0x000000, "4.49", "--+-"}, RatioRow{0x559AD8, 0xFFFFFF, "2.99", "----"},
        RatioRow{0xFBADA8, 0x44098C, "6.99", "+-++"}, RatioRow{0x0D8764, 0xFFFFFF, "4.49", "--+-"},
        RatioRow{0x9090C7, 0x000000, "6.99", "+-++"}, RatioRow{0x595959, 0xFFFFFF, "7.00", "++++"},
        RatioRow{0xFF0000, 0xFFFFFF, "3.99", "--+-"}, RatioRow{0x00FF00, 0xFFFFFF, "1.37", "----"},
        RatioRow{0x0000FF, 0xFFFFFF, "8.59", "++++"}, RatioRow{0xFF0000, 0x00FF00, "2.91", "----"},
        RatioRow{0x0000FF, 0x000000, "2.44", "----"}, RatioRow{0x777777, 0x000000, "4.68", "+-++"},
        RatioRow{0x0A0A0A, 0x0B0B0B, "1.00", "----"}, RatioRow{0x010101, 0x000000, "1.00", "----"},
        RatioRow{0xA5CD68, 0x4D3C1A, "5.83", "+-++"}, RatioRow{0xCA264E, 0x18B8FF, "2.39", "----"},
        RatioRow{0x25165E, 0x3031D0, "1.82", "----"}, RatioRow{0xBB3B93, 0x1DB208, "1.78", "----"},
        RatioRow{0x6DECEB, 0x1332A1, "7.42", "++++"}, RatioRow{0x2C0146, 0xDE06CE, "4.18", "--+-"},
        RatioRow{0xD61AA9, 0x23C417, "1.96", "----"}, RatioRow{0x7B382E, 0x2E71EF, "1.93", "----"},
        RatioRow{0xD95A94, 0x1E43BB, "2.26", "----"}, RatioRow{0x3F62F8, 0x724C60, "1.47", "----"},
        RatioRow{0x1FAC61, 0xCB19B4, "1.64", "----"},
        RatioRow{0x17D9AF, 0x442F7D, "5.94", "+-++"}));

TEST(ContrastSummary, ReadsRatioAndMarks)
{
    EXPECT_EQ(contrastSummary(contrastRatio(web(0x767676), web(0xFFFFFF))),
              u"对比度 4.54:1  正文 AA✓ AAA✗  大字 AA✓ AAA✓"_qs);
}

struct AdjustRow
{
    int color, against;
    double target;
};

class NearestPassing : public testing::TestWithParam<AdjustRow>
{
};

TEST_P(NearestPassing, ReachesTargetOnTheSameHueWithTheLeastLightnessChange)
{
    const AdjustRow row = GetParam();
    const std::optional<ColorValue> found =
        nearestPassingColor(web(row.color), web(row.against), row.target);
    ASSERT_TRUE(found);
    EXPECT_GE(contrastRatio(*found, web(row.against)), row.target);
    const OkLch from = toOkLch(web(row.color)), to = toOkLch(*found);
    if (from.C > 0.05 && to.C > 0.05) {
        EXPECT_NEAR(std::remainder(to.h - from.h, 360.0), 0.0, 3.0);
    }
    // Nothing nearer on the line, either way, passes (the margin covers the
    // rounding of the result to whole channels).
    const double reach = std::abs(to.L - from.L) - 0.004;
    for (double d = 0; d < reach; d += 0.001)
        for (const double L : {from.L - d, from.L + d})
            EXPECT_LT(contrastRatio(colorOnLightnessLine(L, from.C, from.h), web(row.against)),
                      row.target)
                << "L " << L;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, NearestPassing,
    testing::Values(AdjustRow{0x777777, 0xFFFFFF, 4.5}, AdjustRow{0x777777, 0xFFFFFF, 7.0},
                    AdjustRow{0xCD890F, 0xFFFFFF, 4.5}, AdjustRow{0xCD890F, 0x000000, 7.0},
                    AdjustRow{0xFF0000, 0xFFFFFF, 4.5}, AdjustRow{0xFF0000, 0x000000, 7.0},
                    AdjustRow{0x00FF00, 0x00A000, 3.0}, AdjustRow{0x3050FF, 0x202040, 4.5},
                    AdjustRow{0x808080, 0x808080, 4.5}, AdjustRow{0x2A9D8F, 0xE9C46A, 4.5},
                    AdjustRow{0xFFFF00, 0xFFFFFF, 7.0}, AdjustRow{0x101010, 0x000000, 4.5}));

TEST(NearestPassing, PassingColourStaysAndUnreachableIsReported)
{
    EXPECT_EQ(nearestPassingColor(web(0x000000), web(0xFFFFFF), 7.0), web(0x000000));
    EXPECT_EQ(nearestPassingColor(web(0x777777), web(0xFFFFFF), 4.5), web(0x767676));
    for (const int fg : {0x000000, 0xFFFFFF, 0x777777, 0xFF0000, 0x0000FF, 0xCD890F})
        EXPECT_FALSE(nearestPassingColor(web(fg), web(0x777777), 7.0)) << std::hex << fg;
}

} // namespace
