#include "settings/count_text.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

// The count box's text as the settings dialog saves it: a number rounded half
// to even and held to 32 bits, or 65 for anything else.
TEST(CountText, ReadsTheCountBox)
{
    // clang-format off
    const std::pair<const char16_t *, qint32> rows[] = {
        {u"64", 64}, {u"-5", -5}, {u"+7", 7}, {u"\t 30 ", 30}, {u"007", 7}, {u"12.5", 12},
        {u"13.5", 14}, {u"-2.5", -2}, {u"0.5", 0}, {u"12.51", 13}, {u".6", 1}, {u"12.", 12},
        {u"1e2", 100}, {u"2.5E+1", 25}, {u"125e-1", 12}, {u"2147483647", 2147483647},
        {u"2147483647.5", 2147483647}, {u"-2147483649", -2147483647 - 1},
        {u"1e99999", 2147483647}, {u"1e-99999", 0}};
    // clang-format on
    for (const auto &[text, count] : rows)
        EXPECT_EQ(countFromText(QString::fromUtf16(text)), count)
            << QString::fromUtf16(text).toStdString();
    for (const char16_t *text :
         {u"", u" \t", u"abc", u"30a", u"-", u".", u"1e", u"1.2.3", u"5 5", u"0x10", u"1,000",
          u"inf", u"nan", u"30\n", u"\uFF13\uFF10", u"\u300030"})
        EXPECT_EQ(countFromText(QString::fromUtf16(text)), 65)
            << QString::fromUtf16(text).toStdString();
}

} // namespace
} // namespace tintavo
