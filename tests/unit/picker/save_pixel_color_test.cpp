#include "picker/save_pixel_color.h"

#include <gtest/gtest.h>
#include <vector>

namespace tintavo {
namespace {

struct SaveCase
{
    const char *name;
    qint32 startIndex;
    qint32 swatchCount;
    std::vector<qint32> written; // index written by each of the presses, in order
    qint32 endIndex;
};

class SavePixelColorTest : public ::testing::TestWithParam<SaveCase>
{
};

TEST_P(SavePixelColorTest, WritesWrapsAndAdvances)
{
    const SaveCase &c = GetParam();
    qint32 lPicIndex = c.startIndex;
    std::vector<qint32> written;
    for (std::size_t press = 0; press < std::max<std::size_t>(c.written.size(), 1); ++press)
        SavePixelColor(lPicIndex, c.swatchCount, [&](qint32 index) { written.push_back(index); });
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(lPicIndex, c.endIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SavePixelColorTest,
    ::testing::Values(SaveCase{"FirstSlot", 0, 64, {0}, 1},
                      SaveCase{"LastSlotLeavesCount", 63, 64, {63}, 64},
                      SaveCase{"LastThenWrap", 63, 64, {63, 0}, 1},
                      SaveCase{"OnePastEndWraps", 64, 64, {0}, 1},
                      SaveCase{"FarPastEndWraps", 5000, 64, {0}, 1},
                      SaveCase{"TwoPressesSameColourTwoSlots", 0, 64, {0, 1}, 2},
                      SaveCase{"SmallestBox", 1, 2, {1, 0, 1}, 2},
                      SaveCase{"SingleSwatchAlwaysZero", 0, 1, {0, 0}, 1},
                      SaveCase{"NegativeIndexWrapsToZero", -3, 64, {0}, 1},
                      SaveCase{"EmptyBoxWritesNothing", 0, 0, {}, 0},
                      SaveCase{"NegativeCountWritesNothing", 7, -1, {}, 7}),
    [](const ::testing::TestParamInfo<SaveCase> &info) { return std::string(info.param.name); });

TEST(SavePixelColorTest, MissingWriterStillAdvances)
{
    qint32 lPicIndex = 63;
    SavePixelColor(lPicIndex, 64, {});
    EXPECT_EQ(lPicIndex, 64);
}

} // namespace
} // namespace tintavo
