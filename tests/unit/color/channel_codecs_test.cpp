#include "color/channel_codecs.h"

#include "fake_message_service.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tintavo;
using tintavo::test::FakeMessageService;

namespace {

// The routine a row runs: 'x' isHexText, 'v' hexValue, 'd' checkedDecimal,
// 'p' padHexDigit.
QString run(char routine, const QString &text, MessageService &messages)
{
    switch (routine) {
    case 'x':
        return isHexText(text, messages) ? u"yes"_qs : u"no"_qs;
    case 'v':
        return QString::number(hexValue(text, messages));
    case 'd':
        return checkedDecimal(text, messages);
    default:
        return padHexDigit(text);
    }
}

// What each routine gives back for a text and the message it shows (at most
// one). The editing tests in the main window type the everyday cases.
TEST(ChannelCodecs, GiveTheirResultAndReportOnce)
{
    const std::tuple<char, QString, QString, QString> rows[] = {
        {'x', u"Ff0a9"_qs, u"yes"_qs, {}},
        {'x', u"1 2"_qs, u"no"_qs, messages::kHexDigit},
        {'x', u"１"_qs, u"no"_qs, messages::kHexDigit},
        {'x', u"xyz!@:"_qs, u"no"_qs, messages::kHexDigit},
        {'v', u" 0a "_qs, u"10"_qs, {}},
        {'v', u"1G"_qs, u"16"_qs, {}},
        {'v', u"\tF"_qs, u"15"_qs, {}},
        {'v', u" F F "_qs, u"0"_qs, messages::kHexLength},
        {'d', u"000255"_qs, u"000255"_qs, {}},
        {'d', u"99999999999999999999999"_qs, u"255"_qs, messages::kTooLarge},
        {'d', u"-5"_qs, u"0"_qs, messages::kDigitsOnly},
        {'d', u" 5"_qs, u"0"_qs, messages::kDigitsOnly},
        {'d', u"１２"_qs, u"0"_qs, messages::kDigitsOnly},
        {'d', u"999x"_qs, u"0"_qs, messages::kDigitsOnly},
        {'p', u" 7 "_qs, u"07"_qs, {}},
        {'p', u" FF"_qs, u" FF"_qs, {}},
        {'p', u"\tF"_qs, u"\tF"_qs, {}}};
    for (const auto &[routine, text, result, shown] : rows) {
        FakeMessageService messages;
        EXPECT_EQ(run(routine, text, messages), result) << routine << ' ' << text.toStdString();
        EXPECT_EQ(messages.shown, shown.isEmpty() ? QStringList() : QStringList(shown));
    }
}

} // namespace
