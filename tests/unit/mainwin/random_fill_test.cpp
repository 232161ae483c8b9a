#include "mainwin/random_fill.h"

#include "colorbox/color_box_model.h"
#include "colorbox/random_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tintavo {
namespace {

// A draw in [0, 1) to a channel: 256 steps, halves to even, the top one 255.
TEST(RandomColor, ChannelFromUnit)
{
    const std::pair<double, int> rows[] = {
        {0.0, 0},       {0.5 / 256, 0},     {0.6 / 256, 1},     {1.5 / 256, 2},
        {2.5 / 256, 2}, {254.6 / 256, 255}, {255.5 / 256, 255}, {std::nextafter(1.0, 0.0), 255}};
    for (const auto &[unit, channel] : rows)
        EXPECT_EQ(channelFromUnit(unit), channel) << unit * 256;
}

// Every swatch gets a new colour, nearly all distinct: a repeating stream
// would give a few.
TEST(RandomFill, NewDistinctColours)
{
    ColorBoxModel box;
    box.addSwatches(255);
    box.fillColors(kWhite);
    RandomFill(box);
    EXPECT_GE(std::set<ColorValue>(box.colors().begin(), box.colors().end()).size(), 250u);
}

} // namespace
} // namespace tintavo
