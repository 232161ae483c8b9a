#include "color/color_code_line.h"

namespace tintavo {

QString colorCodeLine(const ChannelTexts &t)
{
    // The two halves are deliberately not alike: users copy them by position,
    // so the spacing and the full-width punctuation stay exactly as they are.
    const QString comma = QStringLiteral("，");
    QString line = QStringLiteral("[当前颜色设置]   前景色");
    line += QStringLiteral("RGB(") + t.fgRedDec + comma + t.fgGreenDec + comma + t.fgBlueDec +
            QStringLiteral(")");
    line += QStringLiteral("[#") + t.fgRedHex + t.fgGreenHex + t.fgBlueHex + QStringLiteral("]");
    line += QStringLiteral("             背景色：RGB(") + t.bgRedDec + comma + t.bgGreenDec +
            comma + t.bgBlueDec + QStringLiteral(")");
    line += QStringLiteral(" [#") + t.bgRedHex + t.bgGreenHex + t.bgBlueHex + QStringLiteral("]");
    return line;
}

} // namespace tintavo
