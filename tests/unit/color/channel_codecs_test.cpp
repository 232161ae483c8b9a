#include "color/channel_codecs.h"

#include "fake_message_service.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tintavo;
using tintavo::test::FakeMessageService;

namespace {

// The routines as rows run them.
using Routine = QString (*)(const QString &, MessageService &);
const Routine isHex = [](const QString &t, MessageService &m) {
    return isHexText(t, m) ? u"yes"_qs : u"no"_qs;
};
const Routine value = [](const QString &t, MessageService &m) {
    return QString::number(hexValue(t, m));
};
const Routine pad = [](const QString &t, MessageService &) { return padHexDigit(t); };

// What each routine gives back for a text and the message it shows (at most
// one). The editing tests in the main window type the everyday cases.
TEST(ChannelCodecs, GiveTheirResultAndReportOnce)
{
    const std::tuple<Routine, QString, QString, QString> rows[] = {
        {isHex, u"Ff0a9"_qs, u"yes"_qs, {}},
        {isHex, u"1 2"_qs, u"no"_qs, messages::kHexDigit},
        {isHex, u"１"_qs, u"no"_qs, messages::kHexDigit},
        {isHex, u"xyz!@:"_qs, u"no"_qs, messages::kHexDigit},
        {value, u" 0a "_qs, u"10"_qs, {}},
        {value, u"1G"_qs, u"16"_qs, {}},
        {value, u"\tF"_qs, u"15"_qs, {}},
        {value, u" F F "_qs, u"0"_qs, messages::kHexLength},
        {checkedDecimal, u"000255"_qs, u"000255"_qs, {}},
        {checkedDecimal, u"99999999999999999999999"_qs, u"255"_qs, messages::kTooLarge},
        {checkedDecimal, u"-5"_qs, u"0"_qs, messages::kDigitsOnly},
        {checkedDecimal, u" 5"_qs, u"0"_qs, messages::kDigitsOnly},
        {checkedDecimal, u"１２"_qs, u"0"_qs, messages::kDigitsOnly},
        {checkedDecimal, u"999x"_qs, u"0"_qs, messages::kDigitsOnly},
        {pad, u" 7 "_qs, u"07"_qs, {}},
        {pad, u" FF"_qs, u" FF"_qs, {}},
        {pad, u"\tF"_qs, u"\tF"_qs, {}}};
    for (const auto &[routine, text, result, shown] : rows) {
        FakeMessageService messages;
        EXPECT_EQ(routine(text, messages), result) << text.toStdString();
        EXPECT_EQ(messages.shown, shown.isEmpty() ? QStringList() : QStringList(shown));
    }
}

} // namespace
