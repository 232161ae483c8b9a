#include "mainwin/random_fill.h"

#include "colorbox/color_box_model.h"
#include "colorbox/random_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tintavo {
namespace {

class ChannelFromUnit : public ::testing::TestWithParam<std::pair<double, int>>
{
};

TEST_P(ChannelFromUnit, RoundsHalvesToEvenAndTakes256As255)
{
    EXPECT_EQ(channelFromUnit(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Rows, ChannelFromUnit,
                         ::testing::Values(std::pair{0.0, 0}, std::pair{0.5 / 256, 0},
                                           std::pair{0.6 / 256, 1}, std::pair{1.5 / 256, 2},
                                           std::pair{2.5 / 256, 2}, std::pair{254.6 / 256, 255},
                                           std::pair{255.5 / 256, 255},
                                           std::pair{std::nextafter(1.0, 0.0), 255}));

TEST(RandomFill, NewDistinctColoursKeepingTheCaptureSlotAndSelection)
{
    ColorBoxModel box;
    box.addSwatches(255);
    box.fillColors(kWhite);
    box.selectSwatch(12);
    box.nextCaptureSlot = 20;
    RandomFill(box);
    const std::set<ColorValue> distinct(box.colors().begin(), box.colors().end());
    EXPECT_GE(distinct.size(), 250u); // a repeating stream would give a few
    EXPECT_EQ(box.count(), 256);
    EXPECT_EQ(box.nextCaptureSlot, 20);
    EXPECT_EQ(box.selectedSwatch, 12);
}

} // namespace
} // namespace tintavo
