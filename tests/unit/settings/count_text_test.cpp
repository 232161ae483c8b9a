#include "settings/count_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace tintavo {
namespace {

struct CountCase
{
    const char *name;
    const char16_t *text;
    qint32 expected;
};

void PrintTo(const CountCase &c, std::ostream *os)
{
    *os << c.name;
}

class CountFromTextTest : public ::testing::TestWithParam<CountCase>
{
};

TEST_P(CountFromTextTest, ReadsTheCountBox)
{
    const CountCase &c = GetParam();
    EXPECT_EQ(countFromText(QString::fromUtf16(c.text)), c.expected) << c.name;
}

std::string byName(const ::testing::TestParamInfo<CountCase> &info)
{
    return info.param.name;
}

constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr qint32 kMin = std::numeric_limits<qint32>::min();

INSTANTIATE_TEST_SUITE_P(
    Numbers, CountFromTextTest,
    ::testing::Values(
        CountCase{"plain", u"64", 64}, CountCase{"zero", u"0", 0}, CountCase{"negative", u"-5", -5},
        CountCase{"plus_sign", u"+7", 7}, CountCase{"spaces_around", u" 30 ", 30},
        CountCase{"tabs_and_spaces", u"\t 30\t", 30}, CountCase{"leading_zeros", u"007", 7},
        CountCase{"all_zeros", u"000", 0}, CountCase{"minus_zero", u"-0", 0},
        CountCase{"half_to_even_down", u"12.5", 12}, CountCase{"half_to_even_up", u"13.5", 14},
        CountCase{"half_with_trailing_zeros", u"12.500", 12},
        CountCase{"just_over_half", u"12.5000000000000000001", 13},
        CountCase{"just_under_half", u"12.4999999999999999999", 12},
        CountCase{"negative_half", u"-2.5", -2}, CountCase{"negative_odd_half", u"-3.5", -4},
        CountCase{"below_half", u"0.49", 0}, CountCase{"zero_half", u"0.5", 0},
        CountCase{"one_half_up", u"1.5", 2}, CountCase{"bare_fraction", u".6", 1},
        CountCase{"bare_point_after", u"12.", 12}, CountCase{"exponent", u"1e2", 100},
        CountCase{"exponent_upper", u"1E2", 100}, CountCase{"exponent_signed", u"2.5e+1", 25},
        CountCase{"negative_exponent", u"250e-1", 25},
        CountCase{"negative_exponent_half", u"125e-1", 12}, CountCase{"tiny", u"5e-3", 0},
        CountCase{"tiny_zeros", u"0.0006", 0}, CountCase{"fraction_scaled", u"0.0075e3", 8}),
    byName);

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, CountFromTextTest,
    ::testing::Values(CountCase{"int_max", u"2147483647", kMax},
                      CountCase{"int_min", u"-2147483648", kMin},
                      CountCase{"just_over_max", u"2147483648", kMax},
                      CountCase{"max_half_rounds_over", u"2147483647.5", kMax},
                      CountCase{"just_under_min", u"-2147483649", kMin},
                      CountCase{"ten_digits_over", u"9999999999", kMax},
                      CountCase{"huge", u"123456789012345678901234567890", kMax},
                      CountCase{"huge_negative", u"-1e300", kMin},
                      CountCase{"huge_exponent", u"1e99999999999999999999", kMax},
                      CountCase{"huge_negative_exponent", u"1e-99999999999999999999", 0},
                      CountCase{"zero_huge_exponent", u"0e99999", 0}),
    byName);

INSTANTIATE_TEST_SUITE_P(
    Unreadable, CountFromTextTest,
    ::testing::Values(
        CountCase{"letters", u"abc", 65}, CountCase{"empty", u"", 65},
        CountCase{"blanks_only", u"  \t ", 65}, CountCase{"exponent_without_digits", u"1e", 65},
        CountCase{"exponent_sign_only", u"1e+", 65}, CountCase{"lone_point", u".", 65},
        CountCase{"lone_plus", u"+", 65}, CountCase{"lone_minus", u"-", 65},
        CountCase{"two_points", u"1..2", 65}, CountCase{"two_fractions", u"1.2.3", 65},
        CountCase{"hex_prefix", u"0x10", 65}, CountCase{"group_separator", u"1,000", 65},
        CountCase{"infinity", u"inf", 65}, CountCase{"not_a_number", u"nan", 65},
        CountCase{"two_signs", u"+-5", 65}, CountCase{"blank_after_sign", u"- 5", 65},
        CountCase{"blank_inside", u"5 5", 65}, CountCase{"trailing_letter", u"30a", 65},
        CountCase{"exponent_only", u"e5", 65}, CountCase{"point_exponent", u".e5", 65},
        CountCase{"fullwidth_digits", u"\uFF13\uFF10", 65},
        CountCase{"ideographic_space", u"\u300030", 65}, CountCase{"newline", u"30\n", 65},
        CountCase{"arabic_indic_digits", u"\u0663", 65}, CountCase{"currency", u"$30", 65},
        CountCase{"fortran_exponent", u"1d2", 65}),
    byName);

} // namespace
} // namespace tintavo
