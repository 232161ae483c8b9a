#include "picker/loupe_placement.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

constexpr int kRadius = 5;
const QSize kLoupe(112, 130);
const QRect kLeft(0, 0, 1280, 1024);
const QRect kRight(1280, 0, 1280, 1024);

struct PlacementCase
{
    const char *name;
    QPoint pointer;
    QList<QRect> monitors;
    QPoint expected;
};

class LoupePlacementTest : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(LoupePlacementTest, StaysOnTheMonitorAndOffTheSquareItShows)
{
    const PlacementCase &c = GetParam();
    const QRect placed = loupePlacement(c.pointer, kRadius, kLoupe, c.monitors);
    EXPECT_EQ(placed.topLeft(), c.expected);
    EXPECT_EQ(placed.size(), kLoupe);
    const QRect shown(c.pointer - QPoint(kRadius, kRadius), QSize(11, 11));
    EXPECT_FALSE(placed.intersects(shown));
    for (const QRect &m : c.monitors) {
        if (m.contains(c.pointer)) {
            EXPECT_TRUE(m.contains(placed)) << "leaves its monitor";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoupePlacementTest,
    ::testing::Values(
        PlacementCase{"Middle", {600, 500}, {kLeft}, {614, 514}},
        PlacementCase{"TopLeftCorner", {0, 0}, {kLeft}, {14, 14}},
        PlacementCase{"RightEdgeFlipsLeft", {1279, 500}, {kLeft}, {1279 - 13 - 112, 514}},
        PlacementCase{"BottomEdgeFlipsUp", {600, 1023}, {kLeft}, {614, 1023 - 13 - 130}},
        PlacementCase{"BottomRightCorner", {1279, 1023}, {kLeft}, {1154, 880}},
        PlacementCase{"JustFitsBelowRight", {1280 - 14 - 112, 1024 - 14 - 130}, {kLeft},
                      {1280 - 112, 1024 - 130}},
        PlacementCase{"OneMoreFlips", {1280 - 13 - 112, 1024 - 13 - 130}, {kLeft},
                      {1155 - 125, 881 - 143}},
        // At the seam the loupe stays on the pointer's monitor rather than
        // spilling onto the next one.
        PlacementCase{"SeamLeftSide", {1275, 300}, {kLeft, kRight}, {1150, 314}},
        PlacementCase{"SeamRightSide", {1280, 300}, {kLeft, kRight}, {1294, 314}},
        PlacementCase{"RightMonitorEdge", {2559, 10}, {kLeft, kRight}, {2434, 24}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(LoupePlacement, MonitorTooSmallStillKeepsOffTheSquare)
{
    const QPoint pointer(50, 40);
    const QRect placed = loupePlacement(pointer, kRadius, kLoupe, {QRect(0, 0, 100, 80)});
    EXPECT_FALSE(placed.intersects(QRect(pointer - QPoint(5, 5), QSize(11, 11))));
}

} // namespace
} // namespace tintavo
