#include "color/channel_codecs.h"

#include "fake_message_service.h"

#include <gtest/gtest.h>

using namespace tintavo;
using tintavo::test::FakeMessageService;

namespace {

// Shown messages, compared as a list so that a second message in one call fails.
QStringList once(const QString &message)
{
    return {message};
}

struct CkHexCase
{
    const char *name;
    QString text;
    qint32 result;
    bool reported;
};

class CkHex : public ::testing::TestWithParam<CkHexCase>
{
};

TEST_P(CkHex, ValidatesEveryCharacterAndReportsTheFirstFaultOnce)
{
    FakeMessageService messages;
    EXPECT_EQ(ck_hex(GetParam().text, messages), GetParam().result);
    EXPECT_EQ(messages.shown, GetParam().reported ? once(messages::kHexDigit) : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Texts, CkHex,
                         ::testing::Values(CkHexCase{"Empty", u""_qs, 0, false},
                                           CkHexCase{"LowerDigit", u"0a"_qs, 0, false},
                                           CkHexCase{"MixedCase", u"Ff"_qs, 0, false},
                                           CkHexCase{"LongerThanTwo", u"ABC0"_qs, 0, false},
                                           CkHexCase{"LetterG", u"G"_qs, 1, true},
                                           CkHexCase{"InnerSpace", u"1 2"_qs, 1, true},
                                           CkHexCase{"Sign", u"-1"_qs, 1, true},
                                           CkHexCase{"Chinese", u"中"_qs, 1, true},
                                           CkHexCase{"FullWidthDigit", u"１"_qs, 1, true},
                                           CkHexCase{"ManyBadOneMessage", u"xyz!"_qs, 1, true},
                                           CkHexCase{"JustPastF", u"g"_qs, 1, true},
                                           CkHexCase{"JustBeforeA", u"@"_qs, 1, true},
                                           CkHexCase{"ColonAfterNine", u":"_qs, 1, true}),
                         [](const auto &info) { return std::string(info.param.name); });

struct ShowRgbCase
{
    const char *name;
    QString letter;
    ColorValue color;
    qint32 channel;
};

class ShowRgb : public ::testing::TestWithParam<ShowRgbCase>
{
};

TEST_P(ShowRgb, TakesOneChannelWithFloorDivision)
{
    EXPECT_EQ(show_rgb(GetParam().letter, GetParam().color), GetParam().channel);
}

INSTANTIATE_TEST_SUITE_P(Channels, ShowRgb,
                         ::testing::Values(ShowRgbCase{"Red", u"r"_qs, 1018317, 205},
                                           ShowRgbCase{"GreenUpperCase", u"G"_qs, 1018317, 137},
                                           ShowRgbCase{"Blue", u"b"_qs, 1018317, 15},
                                           ShowRgbCase{"UnknownLetter", u"x"_qs, 1018317, 0},
                                           ShowRgbCase{"EmptyLetter", u""_qs, 1018317, 0},
                                           ShowRgbCase{"WordIsNotALetter", u"red"_qs, 1018317, 0},
                                           ShowRgbCase{"WhiteBlue", u"b"_qs, kWhite, 255},
                                           ShowRgbCase{"MinusOneRed", u"r"_qs, -1, 255},
                                           ShowRgbCase{"MinusOneGreen", u"g"_qs, -1, 255},
                                           ShowRgbCase{"MinusOneBlueIsNegative", u"b"_qs, -1, -1},
                                           ShowRgbCase{"Int32MinBlue", u"b"_qs,
                                                       std::numeric_limits<qint32>::min(), -32768},
                                           ShowRgbCase{"Int32MaxBlue", u"b"_qs,
                                                       std::numeric_limits<qint32>::max(), 32767}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Dec2Hex, GivesTwoUpperCaseDigitsAndZeroHighDigitOutOfRange)
{
    const std::pair<qint16, const char *> cases[] = {
        {0, "00"},  {9, "09"},   {10, "0A"},  {12, "0C"},    {15, "0F"},
        {16, "10"}, {171, "AB"}, {255, "FF"}, {256, "00"},   {300, "0C"},
        {-1, "0F"}, {-16, "00"}, {-17, "0F"}, {32767, "0F"}, {-32768, "00"},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(dec2hex(value), QString::fromLatin1(expected)) << "value " << value;
}

struct Hex2DecCase
{
    const char *name;
    QString text;
    qint16 value;
    bool reported;
};

class Hex2Dec : public ::testing::TestWithParam<Hex2DecCase>
{
};

TEST_P(Hex2Dec, ReadsOneOrTwoDigits)
{
    FakeMessageService messages;
    EXPECT_EQ(hex2dec(GetParam().text, messages), GetParam().value);
    EXPECT_EQ(messages.shown, GetParam().reported ? once(messages::kHexLength) : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Hex2Dec,
    ::testing::Values(Hex2DecCase{"UpperFF", u"FF"_qs, 255, false},
                      Hex2DecCase{"LowerFF", u"ff"_qs, 255, false},
                      Hex2DecCase{"BlanksAround", u" 0a "_qs, 10, false},
                      Hex2DecCase{"SingleLetterIsItsOwnValue", u"A"_qs, 10, false},
                      Hex2DecCase{"SingleDigit", u"7"_qs, 7, false},
                      Hex2DecCase{"Empty", u""_qs, 0, false},
                      Hex2DecCase{"OnlyBlanks", u"   "_qs, 0, false},
                      Hex2DecCase{"BadSecondCountsZero", u"1G"_qs, 16, false},
                      Hex2DecCase{"BadFirstCountsZero", u"G1"_qs, 1, false},
                      Hex2DecCase{"TabIsNotTrimmed", u"\tF"_qs, 15, false},
                      Hex2DecCase{"IdeographicSpaceIsNotTrimmed", u"\u3000F"_qs, 15, false},
                      Hex2DecCase{"ThreeDigits", u"FFF"_qs, 0, true},
                      Hex2DecCase{"ThreeWithBlanks", u" F F "_qs, 0, true}),
    [](const auto &info) { return std::string(info.param.name); });

struct CheckDecCase
{
    const char *name;
    QString text;
    QString result;
    QString message; // empty: none expected
};

class CheckDec : public ::testing::TestWithParam<CheckDecCase>
{
};

TEST_P(CheckDec, TestsDigitsBeforeRange)
{
    FakeMessageService messages;
    EXPECT_EQ(check_dec(GetParam().text, messages), GetParam().result);
    EXPECT_EQ(messages.shown,
              GetParam().message.isEmpty() ? QStringList{} : once(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CheckDec,
    ::testing::Values(CheckDecCase{"EmptyStaysEmpty", u""_qs, u""_qs, {}},
                      CheckDecCase{"Zero", u"0"_qs, u"0"_qs, {}},
                      CheckDecCase{"LeadingZerosStay", u"007"_qs, u"007"_qs, {}},
                      CheckDecCase{"Max", u"255"_qs, u"255"_qs, {}},
                      CheckDecCase{"ZerosBeforeMax", u"000255"_qs, u"000255"_qs, {}},
                      CheckDecCase{"JustTooLarge", u"256"_qs, u"255"_qs, messages::kTooLarge},
                      CheckDecCase{"FiveNines", u"99999"_qs, u"255"_qs, messages::kTooLarge},
                      CheckDecCase{"HugeDoesNotOverflow", u"99999999999999999999999"_qs, u"255"_qs,
                                   messages::kTooLarge},
                      CheckDecCase{"LetterAfterDigits", u"12a"_qs, u"0"_qs, messages::kDigitsOnly},
                      CheckDecCase{"Sign", u"-5"_qs, u"0"_qs, messages::kDigitsOnly},
                      CheckDecCase{"LeadingSpace", u" 5"_qs, u"0"_qs, messages::kDigitsOnly},
                      CheckDecCase{"Fraction", u"1.5"_qs, u"0"_qs, messages::kDigitsOnly},
                      CheckDecCase{"FullWidthDigits", u"１２"_qs, u"0"_qs, messages::kDigitsOnly},
                      CheckDecCase{"LargeWithLetterGetsDigitMessageOnly", u"999x"_qs, u"0"_qs,
                                   messages::kDigitsOnly}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DbStr, PadsALoneCharacterOnly)
{
    const std::pair<QString, QString> cases[] = {
        {u"A"_qs, u"0A"_qs},    {u" 7 "_qs, u"07"_qs}, {u"a"_qs, u"0a"_qs},
        {u""_qs, u""_qs},       {u"FF"_qs, u"FF"_qs},  {u" FF"_qs, u" FF"_qs},
        {u"ABC"_qs, u"ABC"_qs}, {u"  "_qs, u"  "_qs},  {u"\tF"_qs, u"\tF"_qs},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(db_str(text), expected) << text.toStdString();
}

} // namespace
