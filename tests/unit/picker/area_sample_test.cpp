#include "picker/area_sample.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tintavo {
namespace {

using Square = std::vector<std::optional<Rgb>>;

// A 5 × 5 square whose pixels are `fill`, with `middle` at its centre.
Square square5(std::optional<Rgb> fill, std::optional<Rgb> middle)
{
    Square s(25, fill);
    s[12] = middle;
    return s;
}

// The mean of the middle of a square, channel by channel, halves rounded up.
TEST(AreaSample, MeanOfTheMiddleSquare)
{
    Square ramp(25);
    for (int i = 0; i < 25; ++i) // red 0..24 along the rows, blue 250 - 10·i
        ramp[std::size_t(i)] = rgb(i, 7, 250 - 10 * i);
    Square half(9, rgb(0, 0, 0));
    half[0] = rgb(1, 2, 3); // 1/9, 2/9 and 3/9 round down
    half[1] = rgb(4, 4, 4); // with it: 5/9 rounds up
    Square halves(9, rgb(0, 0, 0));
    for (int i : {0, 1, 2, 3}) // 4 of 8 readable pixels at 1, 3 and 255: exactly half-way
        halves[std::size_t(i)] = rgb(1, 3, 255);
    halves[8].reset();
    // clang-format off
    const std::tuple<const char *, Square, int, int, std::optional<Rgb>> rows[] = {
        {"one pixel is the centre",              ramp, 5, 1, rgb(12, 7, 130)},
        {"3 x 3 of a ramp is its centre",        ramp, 5, 3, rgb(12, 7, 130)},
        {"5 x 5 of a ramp is its centre",        ramp, 5, 5, rgb(12, 7, 130)},
        {"thirds round to the nearest",          half, 3, 3, rgb(1, 1, 1)},
        {"halves round up",                      halves, 3, 3, rgb(1, 2, 128)},
        {"white around black",                   square5(kRgbWhite, rgb(0, 0, 0)), 5, 3, rgb(227, 227, 227)},
        {"unreadable pixels are left out",       square5(std::nullopt, rgb(0x12, 0x34, 0x56)), 5, 5, rgb(0x12, 0x34, 0x56)},
        {"nothing readable gives nothing",       square5(std::nullopt, std::nullopt), 5, 3, std::nullopt},
        {"a square smaller than asked for",      Square(9, rgb(0x10, 0, 0)), 3, 5, std::nullopt},
    };
    // clang-format on
    for (const auto &[name, square, side, size, expected] : rows)
        EXPECT_EQ(meanColor(square, side, size), expected) << name;
}

TEST(AreaSample, StoredSizes)
{
    const std::pair<int, int> rows[] = {{1, 1}, {3, 3}, {5, 5}, {0, 1}, {2, 1}, {7, 1}, {-3, 1}};
    for (const auto &[stored, size] : rows)
        EXPECT_EQ(sampleSizeFromSetting(stored), size) << stored;
}

} // namespace
} // namespace tintavo
