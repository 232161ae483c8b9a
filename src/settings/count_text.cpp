#include "settings/count_text.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace tintavo {

qint32 countFromText(const QString &text)
{
    // toDouble alone would also take "inf", "nan" and any kind of white space.
    static const QRegularExpression number(QRegularExpression::anchoredPattern(
        QStringLiteral("[ \\t]*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?[ \\t]*")));
    if (!number.match(text).hasMatch())
        return kUnreadableCount;
    // Beyond the range of a double toDouble gives an infinity or zero, which
    // the clamp below handles as well.
    const double rounded = std::nearbyint(text.trimmed().toDouble()); // ties to even
    constexpr qint32 kMax = std::numeric_limits<qint32>::max();
    constexpr qint32 kMin = std::numeric_limits<qint32>::min();
    if (rounded >= double(kMax))
        return kMax;
    if (rounded <= double(kMin))
        return kMin;
    return qint32(rounded);
}

} // namespace tintavo
