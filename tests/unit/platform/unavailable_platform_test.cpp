#include "platform/unavailable_platform.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

TEST(UnavailablePlatformTest, SamplerAnswersNothingThere)
{
    UnavailableScreenSampler sampler;
    EXPECT_FALSE(sampler.available());
    EXPECT_EQ(sampler.cursorPos(), QPoint(0, 0));
    EXPECT_EQ(sampler.windowFromPoint({10, 20}), 0u);
    EXPECT_EQ(sampler.screenToClient(5, {10, 20}), QPoint(10, 20));
    EXPECT_EQ(sampler.pixelAt(5, {1, 1}), kClrInvalid);
    EXPECT_EQ(sampler.screenPixel({1, 1}), kClrInvalid);
}

TEST(UnavailablePlatformTest, HotKeyIsNeverRegistered)
{
    UnavailableGlobalHotKey hotKey(QStringLiteral("no keys here"));
    const HotKeyRegistration r = hotKey.registerHotKey(1, 1, kModAlt | kModShift, 83);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.result, HotKeyResult::NotAvailable);
    EXPECT_EQ(r.errorText, QStringLiteral("no keys here"));
    EXPECT_FALSE(hotKey.unregisterHotKey(1, 1));
}

TEST(HotKeyLParamTest, PacksModifiersLowAndKeyHigh)
{
    EXPECT_EQ(hotKeyLParam(kModAlt | kModShift, 83), 0x00530005);
    EXPECT_EQ(hotKeyLParam(kModControl | kModWin, 0x70), 0x0070000A);
    // Bits past 16 in the modifiers do not leak into the key half.
    EXPECT_EQ(hotKeyLParam(0x10005, 83), 0x00530005);
    EXPECT_EQ(hotKeyLParam(5, 0xFFFF), static_cast<qint32>(0xFFFF0005u));
}

} // namespace
} // namespace tintavo
