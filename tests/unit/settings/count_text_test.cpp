#include "settings/count_text.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

struct CountRow
{
    const char *name;
    const char16_t *text;
    qint32 count;
};

class CountText : public ::testing::TestWithParam<CountRow>
{
};

TEST_P(CountText, ReadsTheCountBox)
{
    EXPECT_EQ(countFromText(QString::fromUtf16(GetParam().text)), GetParam().count);
}

constexpr CountRow kRows[] = {
    {"plain", u"64", 64},
    {"negative", u"-5", -5},
    {"plus", u"+7", 7},
    {"blanks_around", u"\t 30 ", 30},
    {"leading_zeros", u"007", 7},
    {"half_to_even_down", u"12.5", 12},
    {"half_to_even_up", u"13.5", 14},
    {"negative_half", u"-2.5", -2},
    {"zero_half", u"0.5", 0},
    {"above_half", u"12.51", 13},
    {"bare_fraction", u".6", 1},
    {"bare_point", u"12.", 12},
    {"exponent", u"1e2", 100},
    {"signed_exponent", u"2.5E+1", 25},
    {"negative_exponent_half", u"125e-1", 12},
    {"int_max", u"2147483647", 2147483647},
    {"over_max", u"2147483647.5", 2147483647},
    {"under_min", u"-2147483649", -2147483647 - 1},
    {"beyond_double", u"1e99999", 2147483647},
    {"tiny", u"1e-99999", 0},
    {"empty", u"", 65},
    {"blanks_only", u" \t", 65},
    {"letters", u"abc", 65},
    {"trailing_letter", u"30a", 65},
    {"lone_sign", u"-", 65},
    {"lone_point", u".", 65},
    {"exponent_without_digits", u"1e", 65},
    {"two_points", u"1.2.3", 65},
    {"blank_inside", u"5 5", 65},
    {"hex", u"0x10", 65},
    {"group_separator", u"1,000", 65},
    {"infinity", u"inf", 65},
    {"not_a_number", u"nan", 65},
    {"newline", u"30\n", 65},
    {"fullwidth_digits", u"\uFF13\uFF10", 65},
    {"ideographic_space", u"\u300030", 65},
};

INSTANTIATE_TEST_SUITE_P(Rows, CountText, ::testing::ValuesIn(kRows),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tintavo
