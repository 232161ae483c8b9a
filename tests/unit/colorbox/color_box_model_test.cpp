#include "colorbox/color_box_model.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <set>
#include <string>
#include <vector>

using namespace tintavo;

namespace {

// A box of `count` swatches, made as start-up makes it.
void makeBox(ColorBoxModel &box, int count)
{
    box.AddPics(count - 1);
}

TEST(AddPics, CreatesSwatchesOneToNStackedOnSwatchZero)
{
    ColorBoxModel box;
    ASSERT_EQ(box.count(), 1);
    makeBox(box, 64);
    EXPECT_EQ(box.count(), 64);
    EXPECT_EQ(box.lastIndex(), 63);
    for (const QPoint &p : box.positions())
        EXPECT_EQ(p, QPoint(120, 195));
    EXPECT_EQ(box.gridColumns(), 0);
    EXPECT_EQ(box.lCurPic, 0);
    EXPECT_EQ(box.lPicIndex, 0);
}

TEST(AddPics, ColoursEverySwatchIncludingZeroAtRandom)
{
    ColorBoxModel box;
    makeBox(box, 64);
    std::set<ColorValue> distinct(box.colors().begin(), box.colors().end());
    EXPECT_GT(distinct.size(), 60u);
    EXPECT_NE(box.color(0), ColorBoxModel::kDesignColor);
    for (ColorValue c : box.colors()) {
        EXPECT_GE(c, 0);
        EXPECT_LE(c, kWhite);
    }
}

TEST(AddPics, SafeForAnyCount)
{
    struct Row
    {
        qint32 n;
        int expectedCount;
    };
    const Row rows[] = {
        {-2147483647 - 1, 1}, {-1, 1}, {0, 1}, {1, 2}, {32767, 32768}, {32768, 32768},
        {2147483647, 32768},
    };
    for (const Row &row : rows) {
        ColorBoxModel box;
        box.AddPics(row.n);
        EXPECT_EQ(box.count(), row.expectedCount) << "n=" << row.n;
    }
}

TEST(AddPics, SecondCallSkipsExistingSwatchesAndRecolours)
{
    ColorBoxModel box;
    makeBox(box, 6);
    ASSERT_TRUE(box.OrderPic(11235));
    const std::vector<ColorValue> before = box.colors();

    box.AddPics(3);
    EXPECT_EQ(box.count(), 6);
    EXPECT_NE(box.colors(), before);
    EXPECT_EQ(box.position(5), QPoint(120 + 5 * 240, 195)); // nothing was re-created

    box.AddPics(7);
    EXPECT_EQ(box.count(), 8);
    EXPECT_EQ(box.position(7), QPoint(120, 195)); // a new swatch lies on swatch 0
    EXPECT_EQ(box.position(5), QPoint(120 + 5 * 240, 195));
}

struct GridCase
{
    const char *name;
    int count;
    qint32 fW;
    bool ok;
    int cols;
};

class OrderPicGrid : public testing::TestWithParam<GridCase>
{
};

TEST_P(OrderPicGrid, PlacesEverySwatchByIndex)
{
    const GridCase &g = GetParam();
    ColorBoxModel box;
    makeBox(box, g.count);
    EXPECT_EQ(box.OrderPic(g.fW), g.ok);
    for (int j = 0; j < g.count; ++j) {
        const QPoint expected =
            g.ok ? QPoint(120 + (j % g.cols) * 240, 195 + (j / g.cols) * 240) : QPoint(120, 195);
        EXPECT_EQ(box.position(j), expected) << "swatch " << j;
    }
    EXPECT_EQ(box.gridColumns(), g.ok ? g.cols : 0);
}

INSTANTIATE_TEST_SUITE_P(ColorBox, OrderPicGrid,
                         testing::Values(GridCase{"design64", 64, 11235, true, 46},
                                         GridCase{"two_wide", 2, 11235, true, 46},
                                         GridCase{"two_in_two_cols", 2, 600, true, 2},
                                         GridCase{"two_in_one_col_low", 2, 360, true, 1},
                                         GridCase{"two_in_one_col_high", 2, 599, true, 1},
                                         GridCase{"too_narrow_359", 64, 359, false, 0},
                                         GridCase{"zero_width", 8, 0, false, 0},
                                         GridCase{"negative_width", 8, -100000, false, 0},
                                         GridCase{"one_col_360", 10, 360, true, 1},
                                         GridCase{"very_wide", 64, 2147483647, true, 8947848}),
                         [](const testing::TestParamInfo<GridCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(OrderPic, DesignWidthRowsAsDrawn)
{
    ColorBoxModel box;
    makeBox(box, 64);
    ASSERT_TRUE(box.OrderPic(11235));
    EXPECT_EQ(box.position(0), QPoint(120, 195));
    EXPECT_EQ(box.position(1), QPoint(360, 195));
    EXPECT_EQ(box.position(45), QPoint(10920, 195));
    EXPECT_EQ(box.position(46), QPoint(120, 435));
    EXPECT_EQ(box.position(63), QPoint(4200, 435));
}

TEST(OrderPic, TwoSwatches)
{
    ColorBoxModel box;
    makeBox(box, 2);
    ASSERT_TRUE(box.OrderPic(600));
    EXPECT_EQ(box.position(1), QPoint(360, 195));
    ASSERT_TRUE(box.OrderPic(599));
    EXPECT_EQ(box.position(1), QPoint(120, 435));
}

TEST(OrderPic, FailureKeepsThePreviousArrangement)
{
    ColorBoxModel box;
    makeBox(box, 64);
    ASSERT_TRUE(box.OrderPic(11235));
    const std::vector<QPoint> arranged = box.positions();
    EXPECT_FALSE(box.OrderPic(359));
    EXPECT_EQ(box.positions(), arranged);
    EXPECT_EQ(box.gridColumns(), 46);
}

TEST(OrderPic, FullBoxOfOneColumnStaysInRange)
{
    ColorBoxModel box;
    makeBox(box, ColorBoxModel::kMaxSwatches);
    ASSERT_TRUE(box.OrderPic(360));
    EXPECT_EQ(box.position(32767), QPoint(120, 195 + 32767 * 240));
}

TEST(Picture1MouseDown, EveryPressSelectsAndMovesTheCaptureSlot)
{
    // The button is not even passed: left, right and middle press alike.
    ColorBoxModel box;
    makeBox(box, 64);
    for (int index : {5, 0, 63, 17}) {
        box.Picture1_MouseDown(index);
        EXPECT_EQ(box.lCurPic, index);
        EXPECT_EQ(box.lPicIndex, index);
    }
}

TEST(Picture1MouseDown, IndexOutsideTheBoxChangesNothing)
{
    ColorBoxModel box;
    makeBox(box, 64);
    box.Picture1_MouseDown(9);
    for (qint64 index : {qint64{-1}, qint64{64}, qint64{70000}}) {
        box.Picture1_MouseDown(index);
        EXPECT_EQ(box.lCurPic, 9);
        EXPECT_EQ(box.lPicIndex, 9);
    }
}

TEST(ModelSignals, ReportChangesForRepainting)
{
    ColorBoxModel box;
    int one = -1, all = 0, moved = 0;
    QObject::connect(&box, &ColorBoxModel::colorChanged, [&](int i) { one = i; });
    QObject::connect(&box, &ColorBoxModel::colorsChanged, [&] { ++all; });
    QObject::connect(&box, &ColorBoxModel::positionsChanged, [&] { ++moved; });
    makeBox(box, 3);
    EXPECT_EQ(all, 1);
    EXPECT_EQ(moved, 1);
    box.setColor(2, 7);
    EXPECT_EQ(one, 2);
    box.setColor(3, 7); // no such swatch
    EXPECT_EQ(one, 2);
    EXPECT_TRUE(box.OrderPic(1000));
    EXPECT_EQ(moved, 2);
    EXPECT_FALSE(box.OrderPic(100));
    EXPECT_EQ(moved, 2);
}

TEST(SetColors, ShortOrLongListsAreSafe)
{
    ColorBoxModel box;
    makeBox(box, 4);
    box.setColors({1, 2});
    EXPECT_EQ(box.color(0), 1);
    EXPECT_EQ(box.color(1), 2);
    box.setColors({5, 6, 7, 8, 9, 10});
    EXPECT_EQ(box.count(), 4);
    EXPECT_EQ(box.color(3), 8);
    EXPECT_EQ(box.color(4), kWhite);
}

} // namespace
