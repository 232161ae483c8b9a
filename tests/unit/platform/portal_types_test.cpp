#include "platform/portal/portal_picking.h"
#include "platform/portal/portal_types.h"

#include <gtest/gtest.h>
#include <limits>

namespace tintavo::portal {
namespace {

struct ColorRow
{
    const char *name;
    PortalColor in;
    ColorValue expected;
};

class PortalColorTest : public testing::TestWithParam<ColorRow>
{
};

TEST_P(PortalColorTest, ChannelsRoundToTheNearestByte)
{
    EXPECT_EQ(toColorValue(GetParam().in), GetParam().expected);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
INSTANTIATE_TEST_SUITE_P(
    Table, PortalColorTest,
    testing::Values(ColorRow{"Black", {0, 0, 0}, 0}, ColorRow{"White", {1, 1, 1}, kWhite},
                    ColorRow{"HalfRoundsUp", {0.5, 0, 0}, RGB(128, 0, 0)},
                    ColorRow{"JustBelowHalfByte", {0, 0.0019, 0}, 0},
                    ColorRow{"JustAboveHalfByte", {0, 0, 0.0021}, RGB(0, 0, 1)},
                    ColorRow{"Channels", {0.2, 0.4, 0.8}, RGB(51, 102, 204)},
                    ColorRow{"OutOfRangeHeld", {-0.5, 1.5, kNaN}, RGB(0, 255, 0)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PortalHandlePathTest, SenderLosesColonAndDots)
{
    EXPECT_EQ(handlePath(QStringLiteral("request"), QStringLiteral(":1.42"), QStringLiteral("t7")),
              QStringLiteral("/org/freedesktop/portal/desktop/request/1_42/t7"));
}

TEST(PortalShortcutTriggerTest, ModifiersThenKeysymName)
{
    EXPECT_EQ(shortcutTrigger(Qt::AltModifier | Qt::ShiftModifier | Qt::Key_S),
              QStringLiteral("ALT+SHIFT+s"));
    EXPECT_EQ(shortcutTrigger(Qt::MetaModifier | Qt::ControlModifier | Qt::Key_F5),
              QStringLiteral("CTRL+LOGO+F5"));
    EXPECT_EQ(shortcutTrigger(QKeyCombination(Qt::Key_7)), QStringLiteral("7"));
}

} // namespace
} // namespace tintavo::portal
