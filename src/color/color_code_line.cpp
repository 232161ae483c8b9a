#include "color/color_code_line.h"

#include "color/channel_codecs.h"

namespace tintavo {

ChannelTexts ChannelTexts::of(int value)
{
    return {QString::number(value), hexByte(value)};
}

QString colorCodeLine(const PairTexts &texts)
{
    const auto hex = [](const auto &side) { return side[0].hex + side[1].hex + side[2].hex; };
    const auto triple = [](const auto &side) {
        const QString comma = QStringLiteral("，");
        return QStringLiteral("RGB(") + side[0].decimal + comma + side[1].decimal + comma +
               side[2].decimal + QStringLiteral(")");
    };
    // The two halves are deliberately not alike: users copy them by position,
    // so the spacing and the full-width punctuation stay exactly as they are.
    return QStringLiteral("[当前颜色设置]   前景色") + triple(texts[0]) + QStringLiteral("[#") +
           hex(texts[0]) + QStringLiteral("]") + QStringLiteral("             背景色：") +
           triple(texts[1]) + QStringLiteral(" [#") + hex(texts[1]) + QStringLiteral("]");
}

} // namespace tintavo
