#include "color/color_code_line.h"

#include "color/color_pair.h"

namespace tintavo {

QString colorCodeLine(const ColorPair &pair)
{
    const auto decimal = [&](PairRole role, int ch) { return pair.texts(role, ch).decimal; };
    const auto hex = [&](PairRole role) {
        return pair.texts(role, 0).hex + pair.texts(role, 1).hex + pair.texts(role, 2).hex;
    };
    const auto triple = [&](PairRole role) {
        const QString comma = QStringLiteral("，");
        return QStringLiteral("RGB(") + decimal(role, 0) + comma + decimal(role, 1) + comma +
               decimal(role, 2) + QStringLiteral(")");
    };
    // The two halves are deliberately not alike: users copy them by position,
    // so the spacing and the full-width punctuation stay exactly as they are.
    return QStringLiteral("[当前颜色设置]   前景色") + triple(PairRole::Foreground) +
           QStringLiteral("[#") + hex(PairRole::Foreground) + QStringLiteral("]") +
           QStringLiteral("             背景色：") + triple(PairRole::Background) +
           QStringLiteral(" [#") + hex(PairRole::Background) + QStringLiteral("]");
}

} // namespace tintavo
