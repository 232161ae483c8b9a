#include "platform/pixel_format.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tintavo {
namespace {

// A screen pixel's bytes in the server's format to a colour, or nothing when
// the format or the bytes cannot give one.
TEST(DecodePixel, GivesTheColour)
{
    constexpr PixelFormat kXrgbLsb{32, false, 0xFF0000, 0x00FF00, 0x0000FF};
    constexpr PixelFormat kRgb565Lsb{16, false, 0xF800, 0x07E0, 0x001F};
    // clang-format off
    const std::optional<Rgb> none;
    const Rgb c123456 = rgb(0x12, 0x34, 0x56), white = rgb(255, 255, 255);
    const std::tuple<PixelFormat, std::vector<quint8>, std::optional<Rgb>> rows[] = {
        // Red 0x12, green 0x34, blue 0x56 in every layout.
        {kXrgbLsb, {0x56, 0x34, 0x12, 0x00}, c123456},
        {kXrgbLsb, {0x56, 0x34, 0x12, 0xFF}, c123456}, // padding byte ignored
        {{32, true, 0xFF0000, 0x00FF00, 0x0000FF}, {0x00, 0x12, 0x34, 0x56}, c123456},
        {{32, false, 0x0000FF, 0x00FF00, 0xFF0000}, {0x12, 0x34, 0x56, 0x00}, c123456},
        {{24, false, 0xFF0000, 0x00FF00, 0x0000FF}, {0x56, 0x34, 0x12}, c123456},
        {{24, true, 0xFF0000, 0x00FF00, 0x0000FF}, {0x12, 0x34, 0x56}, c123456},
        // Narrow channels stretch to 255; wide ones keep their top 8 bits.
        {kRgb565Lsb, {0xFF, 0xFF}, white},
        {kRgb565Lsb, {0xE0, 0x07}, rgb(0, 255, 0)},
        {{16, true, 0xF800, 0x07E0, 0x001F}, {0xF8, 0x00}, rgb(255, 0, 0)},
        {kRgb565Lsb, {0x00, 0x80}, rgb(132, 0, 0)},
        {{32, false, 0x3FF00000, 0x000FFC00, 0x3FF}, {0x04, 0x00, 0xF8, 0x3F}, rgb(255, 128, 1)},
        {{8, false, 0xE0, 0x1C, 0x03}, {0xFF}, white},
        // Too few bytes, an odd pixel size, a missing or too wide mask.
        {kXrgbLsb, {0x56, 0x34, 0x12}, none},
        {{12, false, 0xF00, 0x0F0, 0x00F}, {0, 0}, none},
        {{32, false, 0xFF0000, 0, 0xFF}, {1, 2, 3, 4}, none},
        {{16, false, 0xFF0000, 0xFF00, 0xFF}, {1, 2}, none}};
    // clang-format on
    for (const auto &[format, bytes, expected] : rows)
        EXPECT_EQ(decodePixel(format, bytes.data(), bytes.size()), expected)
            << format.bitsPerPixel << " bits, " << bytes.size() << " bytes";
}

} // namespace
} // namespace tintavo
