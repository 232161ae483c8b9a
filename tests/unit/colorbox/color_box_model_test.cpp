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
    box.addSwatches(count - 1);
}

TEST(addSwatches, CreatesUpToTheIndexLimitAndColoursEverySwatchAtRandom)
{
    const std::pair<qint32, int> rows[] = {
        {-2147483647 - 1, 1}, {0, 1}, {1, 2}, {63, 64}, {32768, 32768}, {2147483647, 32768},
    };
    for (const auto &[n, count] : rows) {
        ColorBoxModel box;
        box.addSwatches(n);
        EXPECT_EQ(box.count(), count) << "n=" << n;
        EXPECT_NE(box.color(0), ColorBoxModel::kDesignColor) << "n=" << n;
    }
    ColorBoxModel box;
    makeBox(box, 64);
    EXPECT_GT(std::set<ColorValue>(box.colors().begin(), box.colors().end()).size(), 60u);
}

TEST(addSwatches, SecondCallKeepsExistingSwatchesWhereTheyAre)
{
    ColorBoxModel box;
    makeBox(box, 6);
    ASSERT_TRUE(box.arrange(11235));
    box.addSwatches(7);
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
    EXPECT_EQ(box.arrange(g.fW), g.ok);
    for (int j = 0; j < g.count; ++j) {
        const QPoint expected =
            g.ok ? QPoint(120 + (j % g.cols) * 240, 195 + (j / g.cols) * 240) : QPoint(120, 195);
        EXPECT_EQ(box.position(j), expected) << "swatch " << j;
    }
}

INSTANTIATE_TEST_SUITE_P(ColorBox, OrderPicGrid,
                         testing::Values(GridCase{"design64", 64, 11235, true, 46},
                                         GridCase{"two_in_two_cols", 2, 600, true, 2},
                                         GridCase{"two_in_one_col_low", 2, 360, true, 1},
                                         GridCase{"two_in_one_col_high", 2, 599, true, 1},
                                         GridCase{"too_narrow_359", 64, 359, false, 0},
                                         GridCase{"negative_width", 8, -100000, false, 0},
                                         GridCase{"very_wide", 64, 2147483647, true, 8947848},
                                         GridCase{"full_box_one_column", 32768, 360, true, 1}),
                         [](const testing::TestParamInfo<GridCase> &info) {
                             return std::string(info.param.name);
                         });

TEST(arrange, FailureKeepsThePreviousArrangement)
{
    ColorBoxModel box;
    makeBox(box, 64);
    ASSERT_TRUE(box.arrange(11235));
    const std::vector<QPoint> arranged = box.positions();
    EXPECT_FALSE(box.arrange(359));
    EXPECT_EQ(box.positions(), arranged);
}

TEST(SetColors, ShortOrLongListsAreSafe)
{
    ColorBoxModel box;
    makeBox(box, 4);
    box.setColors({1, 2});
    box.setColors({5, 6, 7, 8, 9, 10});
    EXPECT_EQ(box.colors(), (std::vector<ColorValue>{5, 6, 7, 8}));
    box.setColors({1});
    EXPECT_EQ(box.colors(), (std::vector<ColorValue>{1, 6, 7, 8}));
}

} // namespace
