#include "color/channel_codecs.h"

#include "desktop/desktop_services.h"

namespace tintavo {

namespace {

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

bool isDecimalDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return 0;
}

// Removes leading and trailing ASCII spaces only (tabs and U+3000 stay).
QString trimSpaces(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

bool isHexText(const QString &text, MessageService &messages)
{
    for (QChar c : text) {
        if (!isHexDigit(c)) {
            messages.showError(messages::kHexDigit);
            return false;
        }
    }
    return true;
}

QString hexByte(int value)
{
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QChar(u'0')).toUpper();
}

int hexValue(const QString &text, MessageService &messages)
{
    const QString t = trimSpaces(text);
    if (t.size() > 2) {
        messages.showError(messages::kHexLength);
        return 0;
    }
    const QString upper = t.toUpper();
    const int first = upper.isEmpty() ? 0 : hexDigitValue(upper.at(0));
    return upper.size() == 2 ? first * 16 + hexDigitValue(upper.at(1)) : first;
}

QString checkedDecimal(const QString &text, MessageService &messages)
{
    for (QChar c : text) {
        if (!isDecimalDigit(c)) {
            messages.showError(messages::kDigitsOnly);
            return QStringLiteral("0");
        }
    }
    // Digits only: compare without converting, so any length is safe.
    qsizetype first = 0;
    while (first < text.size() && text.at(first) == u'0')
        ++first;
    const QStringView significant = QStringView(text).mid(first);
    const bool tooLarge =
        significant.size() > 3 || (significant.size() == 3 && significant.compare(u"255") > 0);
    if (tooLarge) {
        messages.showError(messages::kTooLarge);
        return QStringLiteral("255");
    }
    return text;
}

QString padHexDigit(const QString &text)
{
    const QString t = trimSpaces(text);
    if (t.size() == 1)
        return QStringLiteral("0") + t;
    return text;
}

} // namespace tintavo
