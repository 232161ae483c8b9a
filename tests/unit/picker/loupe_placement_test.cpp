#include "picker/loupe_placement.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tintavo {
namespace {

// The loupe (112 x 130) beside the pointer, off the 11 x 11 square it shows,
// flipped where it would leave the pointer's monitor.
TEST(LoupePlacement, StaysOnTheMonitorAndOffTheSquareItShows)
{
    const QSize loupe(112, 130);
    const QRect left(0, 0, 1280, 1024), right(1280, 0, 1280, 1024);
    // clang-format off
    const std::tuple<QPoint, QList<QRect>, QPoint> rows[] = {
        {{600, 500}, {left}, {614, 514}}, {{0, 0}, {left}, {14, 14}},
        {{1279, 500}, {left}, {1279 - 13 - 112, 514}}, {{600, 1023}, {left}, {614, 1023 - 13 - 130}},
        {{1279, 1023}, {left}, {1154, 880}},
        {{1280 - 14 - 112, 1024 - 14 - 130}, {left}, {1280 - 112, 1024 - 130}}, // just fits
        {{1280 - 13 - 112, 1024 - 13 - 130}, {left}, {1155 - 125, 881 - 143}},  // one more flips
        // At the seam the loupe stays on the pointer's monitor.
        {{1275, 300}, {left, right}, {1150, 314}}, {{1280, 300}, {left, right}, {1294, 314}},
        {{2559, 10}, {left, right}, {2434, 24}}};
    // clang-format on
    for (const auto &[pointer, monitors, expected] : rows) {
        const QRect placed = loupePlacement(pointer, 5, loupe, monitors);
        EXPECT_EQ(placed, QRect(expected, loupe)) << pointer.x() << ',' << pointer.y();
        EXPECT_FALSE(placed.intersects(QRect(pointer - QPoint(5, 5), QSize(11, 11))));
        for (const QRect &m : monitors)
            EXPECT_TRUE(!m.contains(pointer) || m.contains(placed)) << "leaves its monitor";
    }
    // On a monitor too small for it, still off the square.
    const QRect placed = loupePlacement({50, 40}, 5, loupe, {QRect(0, 0, 100, 80)});
    EXPECT_FALSE(placed.intersects(QRect(45, 35, 11, 11)));
}

} // namespace
} // namespace tintavo
