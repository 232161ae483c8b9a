#include "colorbox/color_box_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tintavo;

namespace {

constexpr ColorValue kRed = RGB(255, 0, 0);

// `count` swatches, those in [colouredFrom, colouredTo) coloured, the rest white.
std::vector<ColorValue> box(int count, int colouredFrom, int colouredTo)
{
    std::vector<ColorValue> colors(static_cast<size_t>(count), kWhite);
    for (int i = colouredFrom; i < colouredTo && i < count; ++i)
        colors[static_cast<size_t>(i)] = kRed;
    return colors;
}

struct SlotCase
{
    const char *name;
    std::vector<ColorValue> colors;
    qint32 rememberSlot;
    qint32 storedSlot;
    qint32 expected;
};

class FindStartSlotTable : public testing::TestWithParam<SlotCase>
{
};

TEST_P(FindStartSlotTable, ChoosesTheCaptureSlot)
{
    const SlotCase &c = GetParam();
    EXPECT_EQ(startCaptureSlot(c.colors, c.rememberSlot, c.storedSlot), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ColorBox, FindStartSlotTable,
                         testing::Values(
                             // Remember-position off: the first white swatch.
                             SlotCase{"off_all_white", box(64, 0, 0), 0, 0, 0},
                             SlotCase{"off_first_five_coloured", box(64, 0, 5), 0, 0, 5},
                             SlotCase{"off_gap_in_the_middle", box(64, 0, 10), 0, 0, 10},
                             SlotCase{"off_all_but_last_coloured", box(64, 0, 63), 0, 0, 64},
                             SlotCase{"off_none_white", box(64, 0, 64), 0, 0, 64},
                             SlotCase{"off_second_to_last_white", box(64, 0, 62), 0, 0, 62},
                             SlotCase{"off_only_first_white", box(64, 1, 64), 0, 0, 0},
                             SlotCase{"off_two_swatches_last_white", box(2, 0, 1), 0, 0, 2},
                             SlotCase{"off_ignores_start_point", box(64, 0, 5), 0, 7, 5},
                             // Any value other than 1 is off.
                             SlotCase{"two_is_off", box(64, 0, 5), 2, 7, 5},
                             SlotCase{"minus_one_is_off", box(64, 0, 5), -1, 7, 5},
                             // Remember-position on: the stored point strictly inside, else 0.
                             SlotCase{"on_seven", box(64, 0, 0), 1, 7, 7},
                             SlotCase{"on_first_inner", box(64, 0, 0), 1, 1, 1},
                             SlotCase{"on_last_inner", box(64, 0, 0), 1, 62, 62},
                             SlotCase{"on_zero", box(64, 0, 5), 1, 0, 0},
                             SlotCase{"on_last_index", box(64, 0, 5), 1, 63, 0},
                             SlotCase{"on_count", box(64, 0, 5), 1, 64, 0},
                             SlotCase{"on_negative", box(64, 0, 5), 1, -1, 0},
                             SlotCase{"on_huge", box(64, 0, 5), 1, 2147483647, 0},
                             SlotCase{"on_two_swatches_has_no_inner_slot", box(2, 0, 0), 1, 1, 0},
                             // Never the white search when on, even when the point is rejected.
                             SlotCase{"on_rejected_skips_white_search", box(64, 0, 5), 1, 100, 0},
                             SlotCase{"on_accepted_over_white_search", box(64, 0, 5), 1, 30, 30},
                             SlotCase{"empty_box_off", {}, 0, 0, 0},
                             SlotCase{"empty_box_on", {}, 1, 0, 0}),
                         [](const testing::TestParamInfo<SlotCase> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
