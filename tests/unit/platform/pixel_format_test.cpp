#include "platform/pixel_format.h"

#include <gtest/gtest.h>
#include <vector>

namespace tintavo {
namespace {

struct DecodeCase
{
    const char *name;
    PixelFormat format;
    std::vector<quint8> bytes;
    ColorValue expected;
};

class DecodePixelTest : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(DecodePixelTest, GivesBgrColourValue)
{
    const DecodeCase &c = GetParam();
    EXPECT_EQ(decodePixel(c.format, c.bytes.data(), c.bytes.size()), c.expected);
}

constexpr PixelFormat kXrgbLsb{32, false, 0xFF0000, 0x00FF00, 0x0000FF};
constexpr PixelFormat kXrgbMsb{32, true, 0xFF0000, 0x00FF00, 0x0000FF};
constexpr PixelFormat kXbgrLsb{32, false, 0x0000FF, 0x00FF00, 0xFF0000};
constexpr PixelFormat kRgb24Lsb{24, false, 0xFF0000, 0x00FF00, 0x0000FF};
constexpr PixelFormat kRgb24Msb{24, true, 0xFF0000, 0x00FF00, 0x0000FF};
constexpr PixelFormat kRgb565Lsb{16, false, 0xF800, 0x07E0, 0x001F};
constexpr PixelFormat kRgb565Msb{16, true, 0xF800, 0x07E0, 0x001F};
constexpr PixelFormat kRgb30Lsb{32, false, 0x3FF00000, 0x000FFC00, 0x000003FF};
constexpr PixelFormat kRgb332{8, false, 0xE0, 0x1C, 0x03};

INSTANTIATE_TEST_SUITE_P(
    Formats, DecodePixelTest,
    ::testing::Values(
        // Red 0x12, green 0x34, blue 0x56 -> 0x563412 in every layout.
        DecodeCase{"Xrgb32LittleEndian", kXrgbLsb, {0x56, 0x34, 0x12, 0x00}, 0x563412},
        DecodeCase{"Xrgb32BigEndian", kXrgbMsb, {0x00, 0x12, 0x34, 0x56}, 0x563412},
        DecodeCase{"PaddingByteIgnored", kXrgbLsb, {0x56, 0x34, 0x12, 0xFF}, 0x563412},
        DecodeCase{"Xbgr32LittleEndian", kXbgrLsb, {0x12, 0x34, 0x56, 0x00}, 0x563412},
        DecodeCase{"Packed24LittleEndian", kRgb24Lsb, {0x56, 0x34, 0x12}, 0x563412},
        DecodeCase{"Packed24BigEndian", kRgb24Msb, {0x12, 0x34, 0x56}, 0x563412},
        DecodeCase{"PureRed", kXrgbLsb, {0x00, 0x00, 0xFF, 0x00}, 0x0000FF},
        DecodeCase{"PureBlue", kXrgbLsb, {0xFF, 0x00, 0x00, 0x00}, 0xFF0000},
        DecodeCase{"White", kXrgbLsb, {0xFF, 0xFF, 0xFF, 0x00}, 0xFFFFFF},
        DecodeCase{"Black", kXrgbLsb, {0x00, 0x00, 0x00, 0x00}, 0},
        DecodeCase{"Rgb565WhiteStretchesTo255", kRgb565Lsb, {0xFF, 0xFF}, 0xFFFFFF},
        DecodeCase{"Rgb565PureGreen", kRgb565Lsb, {0xE0, 0x07}, 0x00FF00},
        DecodeCase{"Rgb565BigEndianRed", kRgb565Msb, {0xF8, 0x00}, 0x0000FF},
        DecodeCase{"Rgb565MidRed", kRgb565Lsb, {0x00, 0x80}, RGB(132, 0, 0)},
        DecodeCase{"TenBitChannelsKeepTop8",
                   kRgb30Lsb,
                   // red 0x3FF, green 0x200, blue 0x004
                   {0x04, 0x00, 0xF8, 0x3F},
                   RGB(255, 128, 1)},
        DecodeCase{"ThreeThreeTwo", kRgb332, {0xFF}, 0xFFFFFF},
        DecodeCase{"TooShort", kXrgbLsb, {0x56, 0x34, 0x12}, -1},
        DecodeCase{"Empty", kXrgbLsb, {}, -1},
        DecodeCase{"OddPixelSize", PixelFormat{12, false, 0xF00, 0x0F0, 0x00F}, {0, 0}, -1},
        DecodeCase{"MissingMask", PixelFormat{32, false, 0xFF0000, 0, 0xFF}, {1, 2, 3, 4}, -1},
        DecodeCase{
            "MaskWiderThanPixel", PixelFormat{16, false, 0xFF0000, 0xFF00, 0xFF}, {1, 2}, -1}),
    [](const ::testing::TestParamInfo<DecodeCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace tintavo
