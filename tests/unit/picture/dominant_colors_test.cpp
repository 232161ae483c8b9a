#include "picture/dominant_colors.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace tintavo {
namespace {

// Blocks of known colours side by side, each `width` pixels wide.
QImage blocks(const std::vector<std::pair<QRgb, int>> &widths)
{
    int total = 0;
    for (const auto &block : widths)
        total += block.second;
    QImage image(total, 10, QImage::Format_RGB32);
    int x = 0;
    for (const auto &[color, width] : widths) {
        for (int y = 0; y < image.height(); ++y)
            for (int i = 0; i < width; ++i)
                image.setPixel(x + i, y, color);
        x += width;
    }
    return image;
}

using Expected = std::vector<std::pair<Rgb, int>>; // colour, whole per cent

Expected described(const std::vector<ColorShare> &colors)
{
    Expected result;
    const std::vector<int> percents = wholePercents(colors);
    for (std::size_t i = 0; i < colors.size(); ++i)
        result.emplace_back(colors[i].color, percents[i]);
    return result;
}

TEST(DominantColors, KnownBlocksAndTheirShares)
{
    const QImage three = blocks({{0x1d4ed8, 20}, {0xf8fafc, 50}, {0xdc2626, 30}});
    // Two near-whites one step apart are one colour among three clusters.
    const QImage near = blocks({{0xffffff, 30}, {0xfefefe, 30}, {0x000000, 25}, {0x3366cc, 15}});
    const struct
    {
        const char *what;
        QImage picture;
        QRect region;
        int count;
        Expected expected;
    } rows[] = {
        {"three blocks",
         three,
         three.rect(),
         3,
         {{rgb(0xf8, 0xfa, 0xfc), 50}, {rgb(0xdc, 0x26, 0x26), 30}, {rgb(0x1d, 0x4e, 0xd8), 20}}},
        {"more asked than there are",
         three,
         three.rect(),
         8,
         {{rgb(0xf8, 0xfa, 0xfc), 50}, {rgb(0xdc, 0x26, 0x26), 30}, {rgb(0x1d, 0x4e, 0xd8), 20}}},
        {"a region across two blocks",
         three,
         QRect(10, 0, 20, 5),
         5,
         {{rgb(0x1d, 0x4e, 0xd8), 50}, {rgb(0xf8, 0xfa, 0xfc), 50}}},
        {"near colours together",
         near,
         near.rect(),
         3,
         {{rgb(0xff, 0xff, 0xff), 60}, {rgb(0, 0, 0), 25}, {rgb(0x33, 0x66, 0xcc), 15}}},
        {"one colour",
         blocks({{0x123456, 7}}),
         QRect(0, 0, 7, 10),
         5,
         {{rgb(0x12, 0x34, 0x56), 100}}},
    };
    for (const auto &row : rows) {
        const Expected got = described(extractColors(row.picture, row.region, row.count));
        EXPECT_EQ(got.size(), row.expected.size()) << row.what;
        for (std::size_t i = 0; i < std::min(got.size(), row.expected.size()); ++i) {
            EXPECT_LE(std::abs(got[i].first.red - row.expected[i].first.red) +
                          std::abs(got[i].first.green - row.expected[i].first.green) +
                          std::abs(got[i].first.blue - row.expected[i].first.blue),
                      row.what == std::string("near colours together") ? 2 : 0)
                << row.what << ' ' << i;
            EXPECT_EQ(got[i].second, row.expected[i].second) << row.what << ' ' << i;
        }
    }
}

// A photograph-like picture: the same colours every time, shares adding up
// to the whole, the largest first.
TEST(DominantColors, SameColoursEveryTime)
{
    QImage picture(320, 200, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 320, 200);
    gradient.setColorAt(0, QColor(0x0f, 0x17, 0x2a));
    gradient.setColorAt(0.5, QColor(0xf5, 0x9e, 0x0b));
    gradient.setColorAt(1, QColor(0xe0, 0xf2, 0xfe));
    painter.fillRect(picture.rect(), gradient);
    painter.end();
    const std::vector<ColorShare> first = extractColors(picture, picture.rect(), 8);
    ASSERT_EQ(first.size(), 8u);
    double total = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        total += first[i].share;
        if (i > 0) {
            EXPECT_GE(first[i - 1].share, first[i].share);
        }
    }
    EXPECT_NEAR(total, 1.0, 1e-9);
    const std::vector<ColorShare> again = extractColors(picture, picture.rect(), 8);
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_TRUE(first[i].color == again[i].color && first[i].share == again[i].share) << i;
}

TEST(DominantColors, WholePercentsAddUpToAHundred)
{
    const std::pair<std::vector<double>, std::vector<int>> rows[] = {
        {{1.0 / 3, 1.0 / 3, 1.0 / 3}, {34, 33, 33}},
        {std::vector<double>(8, 0.125), {13, 13, 13, 13, 12, 12, 12, 12}},
        {{0.556, 0.334, 0.11}, {56, 33, 11}},
        {{0.5, 0.5}, {50, 50}},
    };
    for (const auto &[shares, percents] : rows) {
        std::vector<ColorShare> colors;
        for (double share : shares)
            colors.push_back({Rgb{}, share});
        EXPECT_EQ(wholePercents(colors), percents);
    }
}

} // namespace
} // namespace tintavo
