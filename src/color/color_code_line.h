#pragma once

#include <QString>

namespace tintavo {

// The texts of the twelve channel boxes, as they stand.
struct ChannelTexts
{
    QString fgRedDec, fgGreenDec, fgBlueDec;
    QString fgRedHex, fgGreenHex, fgBlueHex;
    QString bgRedDec, bgGreenDec, bgBlueDec;
    QString bgRedHex, bgGreenHex, bgBlueHex;
};

// The copyable colour-code line. The texts go in verbatim, unvalidated, so the
// line always shows exactly what the boxes hold.
QString colorCodeLine(const ChannelTexts &t);

} // namespace tintavo
