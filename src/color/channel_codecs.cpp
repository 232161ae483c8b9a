#include "color/channel_codecs.h"

#include "common/floor_div.h"
#include "desktop/desktop_services.h"

#include <cmath>

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

} // namespace

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

qint32 ck_hex(const QString &text, MessageService &messages)
{
    for (QChar c : text) {
        if (!isHexDigit(c)) {
            messages.showError(messages::kHexDigit);
            return 1;
        }
    }
    return 0;
}

qint32 show_rgb(const QString &letter, ColorValue color)
{
    const double blue = std::floor(color / 65536.0);
    const double rest = color - blue * 65536.0;
    const double green = std::floor(rest / 256.0);
    const double red = rest - green * 256.0;

    const QString l = letter.toLower();
    if (l == u"r")
        return static_cast<qint32>(red);
    if (l == u"g")
        return static_cast<qint32>(green);
    if (l == u"b")
        return static_cast<qint32>(blue);
    return 0;
}

QString dec2hex(qint16 value)
{
    const int high = floorDiv(value, 16);
    const int low = value - high * 16;
    auto digit = [](int n) {
        if (n >= 0 && n <= 9)
            return QChar(u'0' + n);
        if (n >= 10 && n <= 15)
            return QChar(u'A' + n - 10);
        return QChar(u'0');
    };
    const QChar digits[] = {digit(high), digit(low)};
    return QString(digits, 2);
}

qint16 hex2dec(const QString &text, MessageService &messages)
{
    const QString t = trimSpaces(text);
    if (t.size() > 2) {
        messages.showError(messages::kHexLength);
        return 0;
    }
    const QString upper = t.toUpper();
    const int first = upper.isEmpty() ? 0 : hexDigitValue(upper.at(0));
    if (upper.size() == 2)
        return static_cast<qint16>(first * 16 + hexDigitValue(upper.at(1)));
    return static_cast<qint16>(first);
}

QString check_dec(const QString &text, MessageService &messages)
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

QString db_str(const QString &text)
{
    const QString t = trimSpaces(text);
    if (t.size() == 1)
        return QStringLiteral("0") + t;
    return text;
}

} // namespace tintavo
