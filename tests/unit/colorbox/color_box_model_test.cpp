#include "colorbox/color_box_model.h"
#include "colorbox/random_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

using namespace tintavo;

namespace {

// Swatches of a box (made as start-up makes it) arranged in a frame of a
// width: in rows of that many columns from swatch 0, or, when no column fits,
// left where they were (all on swatch 0, or the last arrangement).
TEST(ColorBoxModel, ArrangesEverySwatchByIndex)
{
    // clang-format off
    const std::tuple<int, qint32, int> rows[] = { // swatches, frame width, columns
        {64, 11235, 46}, {2, 600, 2}, {2, 360, 1}, {2, 599, 1}, {64, 359, 0}, {8, -100000, 0},
        {64, 2147483647, 8947848}, {32768, 360, 1}};
    // clang-format on
    for (const auto &[count, width, columns] : rows) {
        ColorBoxModel box;
        box.addSwatches(count - 1);
        EXPECT_EQ(box.arrange(width), columns > 0) << width;
        for (int j = 0; j < count; ++j) {
            const QPoint expected =
                columns ? QPoint(120 + (j % columns) * 240, 195 + (j / columns) * 240)
                        : QPoint(120, 195);
            ASSERT_EQ(box.position(j), expected) << "swatch " << j << " width " << width;
        }
    }
    ColorBoxModel box;
    box.addSwatches(63);
    ASSERT_TRUE(box.arrange(11235));
    const std::vector<QPoint> arranged = box.positions();
    EXPECT_FALSE(box.arrange(359));
    EXPECT_EQ(box.positions(), arranged);
}

// The capture slot at start-up for a box of `count` swatches, those in
// [from, to) coloured and the rest white, the remember switch and the stored
// slot. The main window's start-up tests read the everyday cases from a file.
TEST(StartCaptureSlot, ChoosesTheSlot)
{
    // clang-format off
    const std::tuple<int, int, int, qint32, qint32, qint32> rows[] = {
        // Remember-position off (any value but 1): the first white swatch, or the count.
        {64, 0, 0, 0, 0, 0},  {64, 0, 5, 0, 7, 5},  {64, 0, 63, 0, 0, 64}, {64, 0, 64, 0, 0, 64},
        {64, 0, 62, 0, 0, 62}, {64, 1, 64, 0, 0, 0}, {2, 0, 1, 0, 0, 2},    {64, 0, 5, 2, 7, 5},
        {64, 0, 5, -1, 7, 5}, {0, 0, 0, 0, 0, 0},
        // On: the stored slot strictly inside the box, else 0, never the white search.
        {64, 0, 0, 1, 7, 7},  {64, 0, 0, 1, 1, 1},  {64, 0, 0, 1, 62, 62},  {64, 0, 5, 1, 0, 0},
        {64, 0, 5, 1, 63, 0}, {64, 0, 5, 1, 64, 0}, {64, 0, 5, 1, -1, 0},   {2, 0, 0, 1, 1, 0},
        {64, 0, 5, 1, 2147483647, 0}, {64, 0, 5, 1, 30, 30}, {0, 0, 0, 1, 0, 0}};
    // clang-format on
    for (const auto &[count, from, to, remember, stored, expected] : rows) {
        std::vector<ColorValue> colors(size_t(count), kWhite);
        for (int i = from; i < to; ++i)
            colors[size_t(i)] = RGB(255, 0, 0);
        EXPECT_EQ(startCaptureSlot(colors, remember, stored), expected)
            << count << ' ' << from << ' ' << to << ' ' << remember << ' ' << stored;
    }
}

// A draw in [0, 1) to a channel: 256 steps, halves to even, the top one 255.
TEST(RandomColor, ChannelFromUnit)
{
    const std::pair<double, int> rows[] = {
        {0.0, 0},       {0.5 / 256, 0},     {0.6 / 256, 1},     {1.5 / 256, 2},
        {2.5 / 256, 2}, {254.6 / 256, 255}, {255.5 / 256, 255}, {std::nextafter(1.0, 0.0), 255}};
    for (const auto &[unit, channel] : rows)
        EXPECT_EQ(channelFromUnit(unit), channel) << unit * 256;
    // New swatches (and a random fill, the same draw) get nearly all distinct
    // colours: a repeating stream would give a few.
    ColorBoxModel box;
    box.addSwatches(255);
    EXPECT_GE(std::set<ColorValue>(box.colors().begin(), box.colors().end()).size(), 250u);
}

} // namespace
