#include "mainwin/layout_rule.h"

#include <gtest/gtest.h>

using namespace tintavo;

namespace {

void expectRect(const TwipsRect &r, int left, int top, int width, int height, const char *what)
{
    EXPECT_EQ(r.left, left) << what;
    EXPECT_EQ(r.top, top) << what;
    EXPECT_EQ(r.width, width) << what;
    EXPECT_EQ(r.height, height) << what;
}

TEST(FormResize, DesignSize)
{
    const ResizeResult r = Form_Resize(11460, 7170, designLayout());
    const MainLayout &l = r.layout;
    expectRect(l.Frame1, 120, 60, 11235, 4125, "Frame1");
    expectRect(l.effect_text, 90, 195, 10995, 3765, "effect_text");
    expectRect(l.fg_frame, 105, 4245, 7095, 885, "fg_frame");
    expectRect(l.bg_frame, 105, 5190, 7110, 900, "bg_frame");
    expectRect(l.Frame4, 7455, 4245, 3900, 1755, "Frame4");
    expectRect(l.Frame3, 105, 6150, 11235, 945, "Frame3");
    expectRect(l.txtColorInfo, 90, 3765, 10755, 315, "txtColorInfo");
    EXPECT_EQ(r.fW, 11235);
    // Frame3's bottom keeps 75 twips above the client area's bottom.
    EXPECT_EQ(7170 - (l.Frame3.top + l.Frame3.height), 75);
}

TEST(FormResize, GrownBy1000By600)
{
    const ResizeResult r = Form_Resize(11460 + 1000, 7170 + 600, designLayout());
    const MainLayout &l = r.layout;
    expectRect(l.Frame1, 120, 60, 12235, 4725, "Frame1");
    expectRect(l.effect_text, 90, 195, 11995, 4365, "effect_text");
    expectRect(l.fg_frame, 105, 4845, 7095, 885, "fg_frame");
    expectRect(l.bg_frame, 105, 5790, 7110, 900, "bg_frame");
    expectRect(l.Frame4, 7455, 4845, 3900, 1755, "Frame4"); // does not move right
    expectRect(l.Frame3, 105, 6750, 12235, 945, "Frame3");
    expectRect(l.txtColorInfo, 90, 4365, 11755, 315, "txtColorInfo");
    EXPECT_EQ(r.fW, 12235);
    EXPECT_EQ((r.fW - 120) / 240, 50);
}

TEST(FormResize, TinyHeightSkipsOnlyTheNegativeHeights)
{
    // Start from a laid-out window, then shrink it below the preview's minimum.
    const MainLayout before = Form_Resize(11460, 7170, designLayout()).layout;
    // dh = -4500: Frame1 height -375 and effect_text height -735 are skipped.
    const ResizeResult r = Form_Resize(11460, 7170 - 4500, before);
    const MainLayout &l = r.layout;
    EXPECT_EQ(l.Frame1.height, 4125);
    EXPECT_EQ(l.Frame1.width, 11235);
    EXPECT_EQ(l.effect_text.height, 3765);
    // fg_frame follows Frame1's unchanged height.
    EXPECT_EQ(l.fg_frame.top, 60 + 4125 + 60);
    EXPECT_EQ(l.txtColorInfo.top, 3765);
}

TEST(FormResize, HeightBetweenTheTwoLimitsSkipsOnlyThePreviewText)
{
    const MainLayout before = Form_Resize(11460, 7170, designLayout()).layout;
    // dh = -3900: Frame1 height 225 applies, effect_text height -135 is skipped.
    const ResizeResult r = Form_Resize(11460, 7170 - 3900, before);
    EXPECT_EQ(r.layout.Frame1.height, 225);
    EXPECT_EQ(r.layout.effect_text.height, 3765);
    EXPECT_EQ(r.layout.fg_frame.top, 60 + 225 + 60);
    EXPECT_EQ(r.layout.bg_frame.top, 345 + 885 + 60);
    EXPECT_EQ(r.layout.Frame3.top, 1290 + 900 + 60);
    EXPECT_EQ(r.layout.txtColorInfo.top, 3765);
}

TEST(FormResize, ZeroHeightIsNotNegative)
{
    const ResizeResult r = Form_Resize(11460, 7170 - 4125, designLayout());
    EXPECT_EQ(r.layout.Frame1.height, 0);
    EXPECT_EQ(r.layout.fg_frame.top, 120);
}

TEST(FormResize, TinyWidthKeepsThePreviousWidths)
{
    const MainLayout before = Form_Resize(11460, 7170, designLayout()).layout;
    // Client width 300: Frame1 gets 75, effect_text would get -165 and keeps
    // 10995, so the code line's width comes from that: 10755.
    const ResizeResult r = Form_Resize(300, 7170, before);
    EXPECT_EQ(r.layout.Frame1.width, 75);
    EXPECT_EQ(r.layout.effect_text.width, 10995);
    EXPECT_EQ(r.layout.txtColorInfo.width, 10755);
    EXPECT_EQ(r.layout.Frame3.width, 75);
    EXPECT_EQ(r.fW, 75);
    // Frame4 keeps its place even when it reaches past the window's edge.
    EXPECT_EQ(r.layout.Frame4.left, 7455);
    EXPECT_EQ(r.layout.Frame4.width, 3900);
}

TEST(FormResize, NarrowerThanFrame1SkipsEveryWidth)
{
    MainLayout before = Form_Resize(11460, 7170, designLayout()).layout;
    before.effect_text.width = 200; // a preview once made narrow
    // Client width 100: Frame1 -125 and effect_text -365 are skipped; Frame3
    // takes Frame1's old width, and the code line's -40 is skipped too.
    const ResizeResult r = Form_Resize(100, 7170, before);
    EXPECT_EQ(r.layout.Frame1.width, 11235);
    EXPECT_EQ(r.layout.effect_text.width, 200);
    EXPECT_EQ(r.layout.txtColorInfo.width, 10755);
    EXPECT_EQ(r.layout.Frame3.width, 11235);
    EXPECT_EQ(r.fW, 11235);
}

TEST(FormResize, ExtremeSizesDoNotOverflow)
{
    const ResizeResult big = Form_Resize(2147483647, 2147483647, designLayout());
    EXPECT_GE(big.layout.Frame1.width, 0);
    EXPECT_GE(big.layout.Frame1.height, 0);
    EXPECT_GE(big.fW, 0);
    const ResizeResult small = Form_Resize(-2147483647 - 1, -2147483647 - 1, designLayout());
    EXPECT_EQ(small.layout.Frame1.width, 11235);
    EXPECT_EQ(small.layout.Frame1.height, 4155);
}

TEST(FormResize, LeftsNeverChange)
{
    const MainLayout d = designLayout();
    for (int w : {0, 5000, 11460, 20000}) {
        for (int h : {0, 3000, 7170, 15000}) {
            const MainLayout l = Form_Resize(w, h, d).layout;
            EXPECT_EQ(l.Frame1.left, d.Frame1.left);
            EXPECT_EQ(l.effect_text.left, d.effect_text.left);
            EXPECT_EQ(l.fg_frame.left, d.fg_frame.left);
            EXPECT_EQ(l.bg_frame.left, d.bg_frame.left);
            EXPECT_EQ(l.Frame4.left, d.Frame4.left);
            EXPECT_EQ(l.Frame3.left, d.Frame3.left);
            EXPECT_EQ(l.txtColorInfo.left, d.txtColorInfo.left);
            EXPECT_EQ(l.Frame3.height, d.Frame3.height);
            EXPECT_EQ(l.fg_frame.width, d.fg_frame.width);
            EXPECT_EQ(l.bg_frame.width, d.bg_frame.width);
        }
    }
}

} // namespace
