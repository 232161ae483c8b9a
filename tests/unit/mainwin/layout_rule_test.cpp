#include "mainwin/layout_rule.h"

#include <gtest/gtest.h>

using namespace tintavo;

namespace {

TEST(ResizedLayout, TinyHeightSkipsOnlyTheNegativeHeights)
{
    // Start from a laid-out window, then shrink it below the preview's minimum.
    const MainLayout before = resizedLayout(11460, 7170, designLayout()).layout;
    // dh = -4500: Frame1 height -375 and effect_text height -735 are skipped.
    const ResizeResult r = resizedLayout(11460, 7170 - 4500, before);
    const MainLayout &l = r.layout;
    EXPECT_EQ(l.Frame1.height, 4125);
    EXPECT_EQ(l.Frame1.width, 11235);
    EXPECT_EQ(l.effect_text.height, 3765);
    // fg_frame follows Frame1's unchanged height.
    EXPECT_EQ(l.fg_frame.top, 60 + 4125 + 60);
    EXPECT_EQ(l.txtColorInfo.top, 3765);
}

TEST(ResizedLayout, HeightBetweenTheTwoLimitsSkipsOnlyThePreviewText)
{
    const MainLayout before = resizedLayout(11460, 7170, designLayout()).layout;
    // dh = -3900: Frame1 height 225 applies, effect_text height -135 is skipped.
    const ResizeResult r = resizedLayout(11460, 7170 - 3900, before);
    EXPECT_EQ(r.layout.Frame1.height, 225);
    EXPECT_EQ(r.layout.effect_text.height, 3765);
    EXPECT_EQ(r.layout.fg_frame.top, 60 + 225 + 60);
    EXPECT_EQ(r.layout.bg_frame.top, 345 + 885 + 60);
    EXPECT_EQ(r.layout.Frame3.top, 1290 + 900 + 60);
    EXPECT_EQ(r.layout.txtColorInfo.top, 3765);
}

TEST(ResizedLayout, ZeroHeightIsNotNegative)
{
    const ResizeResult r = resizedLayout(11460, 7170 - 4125, designLayout());
    EXPECT_EQ(r.layout.Frame1.height, 0);
    EXPECT_EQ(r.layout.fg_frame.top, 120);
}

TEST(ResizedLayout, TinyWidthKeepsThePreviousWidths)
{
    const MainLayout before = resizedLayout(11460, 7170, designLayout()).layout;
    // Client width 300: Frame1 gets 75, effect_text would get -165 and keeps
    // 10995, so the code line's width comes from that: 10755.
    const ResizeResult r = resizedLayout(300, 7170, before);
    EXPECT_EQ(r.layout.Frame1.width, 75);
    EXPECT_EQ(r.layout.effect_text.width, 10995);
    EXPECT_EQ(r.layout.txtColorInfo.width, 10755);
    EXPECT_EQ(r.layout.Frame3.width, 75);
    EXPECT_EQ(r.colorBoxWidth, 75);
    // Frame4 keeps its place even when it reaches past the window's edge.
    EXPECT_EQ(r.layout.Frame4.left, 7455);
    EXPECT_EQ(r.layout.Frame4.width, 3900);
}

TEST(ResizedLayout, NarrowerThanFrame1SkipsEveryWidth)
{
    MainLayout before = resizedLayout(11460, 7170, designLayout()).layout;
    before.effect_text.width = 200; // a preview once made narrow
    // Client width 100: Frame1 -125 and effect_text -365 are skipped; Frame3
    // takes Frame1's old width, and the code line's -40 is skipped too.
    const ResizeResult r = resizedLayout(100, 7170, before);
    EXPECT_EQ(r.layout.Frame1.width, 11235);
    EXPECT_EQ(r.layout.effect_text.width, 200);
    EXPECT_EQ(r.layout.txtColorInfo.width, 10755);
    EXPECT_EQ(r.layout.Frame3.width, 11235);
    EXPECT_EQ(r.colorBoxWidth, 11235);
}

TEST(ResizedLayout, ExtremeSizesDoNotOverflow)
{
    const ResizeResult big = resizedLayout(2147483647, 2147483647, designLayout());
    EXPECT_GE(big.layout.Frame1.width, 0);
    EXPECT_GE(big.layout.Frame1.height, 0);
    EXPECT_GE(big.colorBoxWidth, 0);
    const ResizeResult small = resizedLayout(-2147483647 - 1, -2147483647 - 1, designLayout());
    EXPECT_EQ(small.layout.Frame1.width, 11235);
    EXPECT_EQ(small.layout.Frame1.height, 4155);
}

} // namespace
