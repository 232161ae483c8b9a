#include "fake_global_hotkey.h"
#include "picker/mm1.h"

#include <gtest/gtest.h>
#include <vector>

namespace tintavo {
namespace {

using mm1::HotKeyWndProc;

struct Call
{
    quintptr hWnd;
    quint32 uMsg;
    quint32 wParam;
    qint32 lParam;
    bool operator==(const Call &) const = default;
};

// Sets the record as an install leaves it, with a previous procedure that logs
// its calls and answers with a marker, and a save that counts.
class Mm1Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mm1::HotKeyRecord &r = mm1::record();
        r = {};
        r.lHotKeyId = 1;
        r.lHotKeyModifiers = 5;
        r.lHotKeyVirtualKey = 83;
        r.lPrevWndProc = [this](quintptr h, quint32 m, quint32 w, qint32 l) {
            passedOn.push_back({h, m, w, l});
            return kPreviousResult;
        };
        r.SavePixelColor = [this] { ++saves; };
    }
    void TearDown() override { mm1::record() = {}; }

    static constexpr qint32 kPreviousResult = 0x5A5A;
    std::vector<Call> passedOn;
    int saves = 0;
};

struct DispatchCase
{
    const char *name;
    quint32 uMsg;
    quint32 wParam;
    qint32 lParam;
    int saves;
};

class Mm1DispatchTest : public Mm1Test, public ::testing::WithParamInterface<DispatchCase>
{
};

TEST_P(Mm1DispatchTest, SavesOnlyOnOurKeyAndAlwaysPassesOn)
{
    const DispatchCase &c = GetParam();
    const quintptr hWnd = 0x00A1B2C3;
    const qint32 result = HotKeyWndProc(hWnd, c.uMsg, c.wParam, c.lParam);
    EXPECT_EQ(saves, c.saves);
    ASSERT_EQ(passedOn.size(), 1u);
    EXPECT_EQ(passedOn[0], (Call{hWnd, c.uMsg, c.wParam, c.lParam}));
    EXPECT_EQ(result, kPreviousResult);
}

constexpr qint32 kAltShiftS = 0x00530005;

INSTANTIATE_TEST_SUITE_P(
    Table, Mm1DispatchTest,
    ::testing::Values(DispatchCase{"AltShiftS", 0x0312, 1, kAltShiftS, 1},
                      DispatchCase{"WrongId", 0x0312, 2, kAltShiftS, 0},
                      DispatchCase{"IdZero", 0x0312, 0, kAltShiftS, 0},
                      DispatchCase{"AltOnly", 0x0312, 1, 0x00530001, 0},
                      DispatchCase{"AltShiftCtrl", 0x0312, 1, 0x00530007, 0},
                      DispatchCase{"WrongKeyD", 0x0312, 1, 0x00440005, 0},
                      DispatchCase{"KeyInLowHalfSwapped", 0x0312, 1, 0x00050053, 0},
                      DispatchCase{"HighHalfAllOnes", 0x0312, 1, static_cast<qint32>(0xFFFF0005u),
                                   0},
                      DispatchCase{"LowHalfAllOnes", 0x0312, 1, 0x0053FFFF, 0},
                      DispatchCase{"ModifiersWithBit16Noise", 0x0312, 1, 0x00540005, 0},
                      DispatchCase{"OtherMessagePaint", 0x000F, 1, kAltShiftS, 0},
                      DispatchCase{"OtherMessageKeyDown", 0x0100, 0x53, kAltShiftS, 0},
                      DispatchCase{"NearbyMessage", 0x0313, 1, kAltShiftS, 0},
                      DispatchCase{"ZeroMessage", 0, 0, 0, 0}),
    [](const ::testing::TestParamInfo<DispatchCase> &info) {
        return std::string(info.param.name);
    });

// The halves are compared as signed 16-bit numbers: 0xFFFF is -1, so a record
// holding -1 matches it and one holding 65535 never can.
struct SignCase
{
    const char *name;
    qint32 modifiers;
    qint32 key;
    qint32 lParam;
    int saves;
};

class Mm1SignTest : public Mm1Test, public ::testing::WithParamInterface<SignCase>
{
};

TEST_P(Mm1SignTest, HalvesAreSigned16Bit)
{
    const SignCase &c = GetParam();
    mm1::record().lHotKeyModifiers = c.modifiers;
    mm1::record().lHotKeyVirtualKey = c.key;
    HotKeyWndProc(1, 0x0312, 1, c.lParam);
    EXPECT_EQ(saves, c.saves);
    EXPECT_EQ(passedOn.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Mm1SignTest,
    ::testing::Values(
        SignCase{"MinusOneKeyMatchesFFFF", 5, -1, static_cast<qint32>(0xFFFF0005u), 1},
        SignCase{"Key65535NeverMatches", 5, 65535, static_cast<qint32>(0xFFFF0005u), 0},
        SignCase{"MinusOneModifiersMatchFFFF", -1, 83, 0x0053FFFF, 1},
        SignCase{"Modifiers65535NeverMatch", 65535, 83, 0x0053FFFF, 0},
        SignCase{"HighBitKeyMinus32768", 5, -32768, static_cast<qint32>(0x80000005u), 1},
        SignCase{"Key32768NeverMatches", 5, 32768, static_cast<qint32>(0x80000005u), 0}),
    [](const ::testing::TestParamInfo<SignCase> &info) { return std::string(info.param.name); });

TEST_F(Mm1Test, SaveHappensBeforePassOn)
{
    std::vector<std::string> order;
    mm1::record().SavePixelColor = [&] { order.push_back("save"); };
    mm1::record().lPrevWndProc = [&](quintptr, quint32, quint32, qint32) {
        order.push_back("previous");
        return 0;
    };
    HotKeyWndProc(1, 0x0312, 1, kAltShiftS);
    EXPECT_EQ(order, (std::vector<std::string>{"save", "previous"}));
}

TEST_F(Mm1Test, WithoutInstallNothingIsCalledAndResultIsZero)
{
    mm1::record() = {};
    EXPECT_EQ(HotKeyWndProc(1, 0x0312, 0, 0), 0);
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(passedOn.empty());
}

TEST_F(Mm1Test, InstallReplacesProcedureSetsRecordAndRegisters)
{
    mm1::record() = {};
    test::FakeGlobalHotKey hotKey;
    std::vector<Call> ownCalls;
    mm1::WindowProc wndProc = [&](quintptr h, quint32 m, quint32 w, qint32 l) {
        ownCalls.push_back({h, m, w, l});
        return 7;
    };
    const quintptr hWnd = 0x4200;
    int picked = 0;

    const HotKeyRegistration registration =
        mm1::install(hotKey, {hWnd, &wndProc}, [&] { ++picked; });

    EXPECT_TRUE(registration.ok());
    EXPECT_EQ(mm1::record().lHotKeyId, 1);
    EXPECT_EQ(mm1::record().lHotKeyModifiers, 5);
    EXPECT_EQ(mm1::record().lHotKeyVirtualKey, 83);
    ASSERT_EQ(hotKey.held.size(), 1);
    EXPECT_EQ(hotKey.held[0].window, hWnd);
    EXPECT_EQ(hotKey.held[0].id, 1);
    EXPECT_EQ(hotKey.held[0].modifiers, kModAlt | kModShift);
    EXPECT_EQ(hotKey.held[0].virtualKey, 83);

    // The window routes its messages through its slot, as a window would.
    QObject::connect(&hotKey, &GlobalHotKey::hotKeyMessage,
                     [&](quintptr h, quint32 m, quint32 w, qint32 l) { wndProc(h, m, w, l); });
    ASSERT_TRUE(hotKey.press(hWnd, 1));
    ASSERT_TRUE(hotKey.press(hWnd, 1));
    EXPECT_EQ(picked, 2);
    // The window's own procedure still saw both presses.
    ASSERT_EQ(ownCalls.size(), 2u);
    EXPECT_EQ(ownCalls[0], (Call{hWnd, kWmHotKey, 1, kAltShiftS}));

    mm1::remove(hotKey, {hWnd, &wndProc});
    EXPECT_TRUE(hotKey.held.isEmpty());
    EXPECT_EQ(hotKey.unregisterCalls, 1);
    // The slot holds the window's own procedure again: no more saves.
    hotKey.deliver(hWnd, kWmHotKey, 1, kAltShiftS);
    EXPECT_EQ(picked, 2);
    EXPECT_EQ(ownCalls.size(), 3u);
    EXPECT_EQ(wndProc(hWnd, 0x000F, 0, 0), 7);
}

TEST_F(Mm1Test, FailedRegistrationIsReportedAndProcedureStillInstalled)
{
    mm1::record() = {};
    test::FakeGlobalHotKey hotKey;
    hotKey.nextResult = HotKeyResult::Taken;
    hotKey.nextErrorText = QStringLiteral("held elsewhere");
    mm1::WindowProc wndProc = [](quintptr, quint32, quint32, qint32) { return 3; };

    const HotKeyRegistration registration = mm1::install(hotKey, {9, &wndProc}, [] {});

    EXPECT_EQ(registration.result, HotKeyResult::Taken);
    EXPECT_EQ(registration.errorText, QStringLiteral("held elsewhere"));
    EXPECT_TRUE(hotKey.held.isEmpty());
    EXPECT_EQ(wndProc(9, 0x000F, 0, 0), 3); // through HotKeyWndProc to the old one
    mm1::remove(hotKey, {9, &wndProc});
}

TEST_F(Mm1Test, ReinstallKeepsTheProcedureOfTheLastInstall)
{
    mm1::record() = {};
    test::FakeGlobalHotKey hotKey;
    mm1::WindowProc first = [](quintptr, quint32, quint32, qint32) { return 1; };
    mm1::WindowProc second = [](quintptr, quint32, quint32, qint32) { return 2; };
    mm1::install(hotKey, {1, &first}, [] {});
    mm1::remove(hotKey, {1, &first});
    mm1::install(hotKey, {2, &second}, [] {});
    EXPECT_EQ(second(2, 0, 0, 0), 2);
    mm1::remove(hotKey, {2, &second});
    EXPECT_EQ(second(2, 0, 0, 0), 2);
    EXPECT_EQ(first(1, 0, 0, 0), 1);
}

TEST_F(Mm1Test, SaveThatChangesTheRecordDoesNotRedirectThisMessage)
{
    // Closing the picker from inside the save must not pull the procedure away
    // under the message being handled.
    mm1::record().SavePixelColor = [&] { mm1::record().lPrevWndProc = {}; };
    EXPECT_EQ(HotKeyWndProc(1, 0x0312, 1, kAltShiftS), kPreviousResult);
    ASSERT_EQ(passedOn.size(), 1u);
    EXPECT_EQ(passedOn[0], (Call{1, 0x0312, 1, kAltShiftS}));
}

} // namespace
} // namespace tintavo
