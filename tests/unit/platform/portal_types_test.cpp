#include "platform/portal/portal_picking.h"
#include "platform/portal/portal_types.h"

#include <gtest/gtest.h>
#include <limits>

namespace tintavo::portal {
namespace {

// Channels in 0..1 round to the nearest byte; out of range is held.
TEST(PortalColor, ChannelsRoundToTheNearestByte)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const std::pair<PortalColor, Rgb> rows[] = {
        {{0, 0, 0}, rgb(0, 0, 0)},         {{1, 1, 1}, kRgbWhite},
        {{0.5, 0, 0}, rgb(128, 0, 0)},     {{0, 0.0019, 0}, rgb(0, 0, 0)},
        {{0, 0, 0.0021}, rgb(0, 0, 1)},    {{0.2, 0.4, 0.8}, rgb(51, 102, 204)},
        {{0.999, 1.0, 0.9999}, kRgbWhite}, {{-0.5, 1.5, kNaN}, rgb(0, 255, 0)}};
    for (const auto &[in, expected] : rows)
        EXPECT_EQ(toRgb(in), expected) << in.red << " " << in.green << " " << in.blue;
}

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
