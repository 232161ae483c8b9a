#include "color/contrast.h"
#include "color/region_contrast.h"
#include "reference_color.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tintavo;
using reference::web;

namespace {

// Hand-made regions: `width` pixels a row of 0xRRGGBB values, in a buffer one
// pixel wider than the region, so that a stride mistake reads the marker.
struct Row
{
    const char *what;
    int text;
    int width;
    std::vector<int> pixels;
    const char *shown;
};

TEST(RegionContrast, LowestPercentileAndSharesOfHandMadeRegions)
{
    const std::vector<int> white19(19, 0xFFFFFF), white99(99, 0xFFFFFF);
    const auto with = [](std::vector<int> v, int extra) {
        v.push_back(extra);
        return v;
    };
    const Row rows[] = {
        // clang-format off
        {"uniform", 0x000000, 4, std::vector<int>(12, 0xFFFFFF),
         "区域 4×3  最低 21.00:1  P5 21.00:1  正文 AA 达标 100%  大字 AA 达标 100%"},
        {"one failing pixel of 100", 0x000000, 10, with(white99, 0x333333),
         "区域 10×10  最低 1.66:1  P5 21.00:1  正文 AA 达标 99%  大字 AA 达标 99%"},
        // 1 of 20 below: 95 % still reach the rank above it.
        {"1 of 20 failing", 0x000000, 20, with(white19, 0x333333),
         "区域 20×1  最低 1.66:1  P5 21.00:1  正文 AA 达标 95%  大字 AA 达标 95%"},
        // 1 of 19 below: that one pixel is more than 5 %.
        {"1 of 19 failing", 0x000000, 19, with(std::vector<int>(18, 0xFFFFFF), 0x333333),
         "区域 19×1  最低 1.66:1  P5 1.66:1  正文 AA 达标 94%  大字 AA 达标 94%"},
        // Shares are cut: 2 of 3 is 66 %, never 67 %.
        {"two thirds", 0xFFFFFF, 3, {0x000000, 0x000000, 0xFFFFFF},
         "区域 3×1  最低 1.00:1  P5 1.00:1  正文 AA 达标 66%  大字 AA 达标 66%"},
        // 4.47:1 passes large text only; text lighter and darker than the pixels.
        {"large only", 0xFFFFFF, 2, {0x777777, 0x777777},
         "区域 2×1  最低 4.47:1  P5 4.47:1  正文 AA 达标 0%  大字 AA 达标 100%"},
        {"text between", 0x777777, 2, {0x000000, 0xFFFFFF},
         "区域 2×1  最低 4.47:1  P5 4.47:1  正文 AA 达标 50%  大字 AA 达标 100%"},
        {"one pixel", 0xCD890F, 1, {0x000000},
         "区域 1×1  最低 7.18:1  P5 7.18:1  正文 AA 达标 100%  大字 AA 达标 100%"}};
    // clang-format on
    for (const Row &row : rows) {
        const int height = int(row.pixels.size()) / row.width;
        std::vector<quint32> buffer;
        for (int i = 0; i < int(row.pixels.size()); ++i) {
            buffer.push_back(0xFF000000u | quint32(row.pixels[size_t(i)]));
            if (i % row.width == row.width - 1)
                buffer.push_back(0xFF777777u); // outside the region
        }
        const RegionContrast c =
            measureRegionContrast(web(row.text), {buffer.data(), row.width, height, row.width + 1});
        EXPECT_EQ(regionContrastText(c).toStdString(), row.shown) << row.what;
    }
}

} // namespace
