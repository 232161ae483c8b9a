#include "settings/count_text.h"

#include <QByteArray>
#include <limits>

namespace tintavo {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Exponents and digit counts beyond this cannot change the outcome (the
// result saturates long before), so they are held at it to avoid overflow.
constexpr qint64 kSaturation = qint64(1) << 40;

} // namespace

qint32 countFromText(const QString &text)
{
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;

    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    // The number is 0.<significant> times ten to the power of `scale`, with
    // the leading zeros kept out of `significant`.
    QByteArray significant;
    qint64 scale = 0;
    bool sawDigit = false;
    while (i < end && isDigit(text[i])) {
        sawDigit = true;
        if (!significant.isEmpty() || text[i] != u'0') {
            significant += char(text[i].unicode());
            scale = qMin(scale + 1, kSaturation);
        }
        ++i;
    }
    if (i < end && text[i] == u'.') {
        ++i;
        while (i < end && isDigit(text[i])) {
            sawDigit = true;
            if (significant.isEmpty() && text[i] == u'0')
                scale = qMax(scale - 1, -kSaturation);
            else
                significant += char(text[i].unicode());
            ++i;
        }
    }
    if (!sawDigit)
        return kUnreadableCount;

    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        if (i == end || !isDigit(text[i]))
            return kUnreadableCount;
        qint64 exponent = 0;
        while (i < end && isDigit(text[i])) {
            exponent = qMin(exponent * 10 + (text[i].unicode() - u'0'), kSaturation);
            ++i;
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (i != end)
        return kUnreadableCount;
    if (significant.isEmpty())
        return 0;

    constexpr qint64 kMax = std::numeric_limits<qint32>::max();
    constexpr qint64 kMin = std::numeric_limits<qint32>::min();
    if (scale > 10) // at least 10^10: beyond the range whatever the digits
        return negative ? qint32(kMin) : qint32(kMax);

    // Whole part from the first `scale` digits (zeros past the last digit).
    qint64 magnitude = 0;
    for (qint64 d = 0; d < scale; ++d)
        magnitude = magnitude * 10 + (d < significant.size() ? significant[d] - '0' : 0);

    // Round on the first dropped digit; an exact half goes to the even side.
    // With a negative scale the value is below 0.1 and rounds to 0.
    if (scale >= 0 && scale < significant.size()) {
        const char first = significant[scale];
        bool up = first > '5';
        if (first == '5') {
            bool beyondHalf = false;
            for (qsizetype d = scale + 1; d < significant.size(); ++d)
                beyondHalf = beyondHalf || significant[d] != '0';
            up = beyondHalf || (magnitude % 2 == 1);
        }
        if (up)
            ++magnitude;
    }

    const qint64 value = negative ? -magnitude : magnitude;
    return qint32(qBound(kMin, value, kMax));
}

} // namespace tintavo
