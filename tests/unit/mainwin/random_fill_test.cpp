#include "mainwin/random_fill.h"

#include "colorbox/color_box_model.h"
#include "colorbox/random_source.h"

#include <gtest/gtest.h>

#include <set>

using namespace tintavo;

namespace {

TEST(RandomFill, NewColoursWithinOneClockTickAreDistinct)
{
    // A frozen clock: every re-seed happens "in the same tick".
    RandomSource random([] { return quint64{1'000'000}; });
    ColorBoxModel box;
    box.AddPics(255, random);
    box.fillColors(kWhite);

    RandomFill(box, random);
    const std::set<ColorValue> distinct(box.colors().begin(), box.colors().end());
    EXPECT_GE(distinct.size(), 250u); // a repeating stream would give 1
    for (ColorValue c : box.colors()) {
        EXPECT_GE(c, 0);
        EXPECT_LE(c, kWhite);
    }
}

TEST(RandomFill, ChannelsWithinOneSwatchAreDrawnApart)
{
    // Were each draw re-seeded with the same seed, red, green and blue would
    // always be equal: grey swatches only.
    RandomSource random([] { return quint64{5}; });
    ColorBoxModel box;
    box.AddPics(63, random);
    RandomFill(box, random);
    int grey = 0;
    for (ColorValue c : box.colors()) {
        const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        grey += (r == g && g == b);
    }
    EXPECT_LT(grey, 4);
}

TEST(RandomFill, KeepsTheCaptureSlotAndSelection)
{
    RandomSource random;
    ColorBoxModel box;
    box.AddPics(63, random);
    box.Picture1_MouseDown(12);
    box.lPicIndex = 20;
    const std::vector<ColorValue> before = box.colors();
    RandomFill(box, random);
    EXPECT_EQ(box.lPicIndex, 20);
    EXPECT_EQ(box.lCurPic, 12);
    EXPECT_EQ(box.count(), 64);
    EXPECT_NE(box.colors(), before);
}

TEST(RandomFill, RepaintsOnce)
{
    RandomSource random;
    ColorBoxModel box;
    box.AddPics(99, random);
    int all = 0, single = 0;
    QObject::connect(&box, &ColorBoxModel::colorsChanged, [&] { ++all; });
    QObject::connect(&box, &ColorBoxModel::colorChanged, [&] { ++single; });
    RandomFill(box, random);
    EXPECT_EQ(all, 1);
    EXPECT_EQ(single, 0);
}

} // namespace
