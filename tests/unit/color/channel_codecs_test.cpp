#include "color/channel_codecs.h"

#include "fake_message_service.h"

#include <gtest/gtest.h>

using namespace tintavo;
using tintavo::test::FakeMessageService;

namespace {

// Every routine in one table: the text it is given, what it gives back and
// the messages it shows (at most one).
struct CodecCase
{
    const char *name;
    QString (*run)(const QString &, MessageService &);
    QString text;
    QString result;
    QStringList shown;
};

QString hexText(const QString &t, MessageService &m)
{
    return isHexText(t, m) ? QStringLiteral("yes") : QStringLiteral("no");
}
QString value(const QString &t, MessageService &m)
{
    return QString::number(hexValue(t, m));
}
QString padded(const QString &t, MessageService &)
{
    return padHexDigit(t);
}

class Codecs : public testing::TestWithParam<CodecCase>
{
};

TEST_P(Codecs, GiveTheirResultAndReportOnce)
{
    FakeMessageService messages;
    EXPECT_EQ(GetParam().run(GetParam().text, messages), GetParam().result);
    EXPECT_EQ(messages.shown, GetParam().shown);
}

const QStringList kNone;
const QStringList kHexDigit{messages::kHexDigit};
const QStringList kHexLength{messages::kHexLength};
const QStringList kDigitsOnly{messages::kDigitsOnly};
const QStringList kTooLarge{messages::kTooLarge};

INSTANTIATE_TEST_SUITE_P(
    Channel, Codecs,
    testing::Values(
        CodecCase{"hex_empty", hexText, u""_qs, u"yes"_qs, kNone},
        CodecCase{"hex_mixed_case_any_length", hexText, u"Ff0a9"_qs, u"yes"_qs, kNone},
        CodecCase{"hex_letter_g", hexText, u"g"_qs, u"no"_qs, kHexDigit},
        CodecCase{"hex_inner_space", hexText, u"1 2"_qs, u"no"_qs, kHexDigit},
        CodecCase{"hex_full_width_digit", hexText, u"１"_qs, u"no"_qs, kHexDigit},
        CodecCase{"hex_many_bad_one_message", hexText, u"xyz!@:"_qs, u"no"_qs, kHexDigit},
        CodecCase{"value_ff", value, u"ff"_qs, u"255"_qs, kNone},
        CodecCase{"value_blanks_around", value, u" 0a "_qs, u"10"_qs, kNone},
        CodecCase{"value_one_digit", value, u"A"_qs, u"10"_qs, kNone},
        CodecCase{"value_empty", value, u""_qs, u"0"_qs, kNone},
        CodecCase{"value_bad_digit_is_zero", value, u"1G"_qs, u"16"_qs, kNone},
        CodecCase{"value_tab_not_trimmed", value, u"\tF"_qs, u"15"_qs, kNone},
        CodecCase{"value_three_digits", value, u"FFF"_qs, u"0"_qs, kHexLength},
        CodecCase{"value_three_with_blanks", value, u" F F "_qs, u"0"_qs, kHexLength},
        CodecCase{"dec_empty_stays", checkedDecimal, u""_qs, u""_qs, kNone},
        CodecCase{"dec_leading_zeros_stay", checkedDecimal, u"000255"_qs, u"000255"_qs, kNone},
        CodecCase{"dec_256", checkedDecimal, u"256"_qs, u"255"_qs, kTooLarge},
        CodecCase{"dec_huge", checkedDecimal, u"99999999999999999999999"_qs, u"255"_qs, kTooLarge},
        CodecCase{"dec_sign", checkedDecimal, u"-5"_qs, u"0"_qs, kDigitsOnly},
        CodecCase{"dec_leading_space", checkedDecimal, u" 5"_qs, u"0"_qs, kDigitsOnly},
        CodecCase{"dec_full_width", checkedDecimal, u"１２"_qs, u"0"_qs, kDigitsOnly},
        CodecCase{"dec_large_with_letter", checkedDecimal, u"999x"_qs, u"0"_qs, kDigitsOnly},
        CodecCase{"pad_lone_letter", padded, u"A"_qs, u"0A"_qs, kNone},
        CodecCase{"pad_blanks_around", padded, u" 7 "_qs, u"07"_qs, kNone},
        CodecCase{"pad_empty", padded, u""_qs, u""_qs, kNone},
        CodecCase{"pad_two_stay", padded, u" FF"_qs, u" FF"_qs, kNone},
        CodecCase{"pad_tab_not_blank", padded, u"\tF"_qs, u"\tF"_qs, kNone}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(HexByte, TwoUpperCaseDigits)
{
    EXPECT_EQ(hexByte(0), u"00"_qs);
    EXPECT_EQ(hexByte(12), u"0C"_qs);
    EXPECT_EQ(hexByte(171), u"AB"_qs);
    EXPECT_EQ(hexByte(255), u"FF"_qs);
}

} // namespace
