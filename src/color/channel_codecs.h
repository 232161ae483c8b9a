#pragma once

#include "color/color_value.h"

#include <QString>

namespace tintavo {

class MessageService;

// Conversions and checks for the text of one colour channel. Three of them
// report bad input through `messages` (at most one message per call) and then
// carry on with the result described beside them.

namespace messages {
inline const QString kHexDigit = QStringLiteral("错误：十六进制数应该介于 0到9 ；A到F。请更正！");
inline const QString kHexLength = QStringLiteral("错误：16 进制颜色值应该有两位0-9,A-F的字符。");
inline const QString kDigitsOnly = QStringLiteral("错误：请您只输入数字。");
inline const QString kTooLarge = QStringLiteral("错误：您输入的数字过大，请小于256");
} // namespace messages

// 0 when every character is a hexadecimal digit (or the text is empty),
// otherwise 1 after showing kHexDigit. No length limit.
qint32 ck_hex(const QString &text, MessageService &messages);

// One channel of `color` for the letter "r", "g" or "b" (any case); 0 for any
// other letter. Uses floor division, so values outside 0..0xFFFFFF give
// channels outside 0..255 rather than wrapping.
qint32 show_rgb(const QString &letter, ColorValue color);

// Two upper-case hexadecimal digits; outside 0..255 the high digit reads "0".
QString dec2hex(qint16 value);

// The value of one or two hexadecimal digits (blanks around them ignored);
// a non-digit counts as 0. More than two characters: kHexLength, then 0.
qint16 hex2dec(const QString &text, MessageService &messages);

// The text unchanged when it is decimal digits spelling at most 255 (the empty
// text included); "0" after kDigitsOnly for any non-digit; "255" after
// kTooLarge for a larger number.
QString check_dec(const QString &text, MessageService &messages);

// Pads a lone character (blanks around it ignored) to two: " 7 " -> "07".
QString db_str(const QString &text);

// Removes leading and trailing ASCII spaces only (tabs and U+3000 stay).
QString trimSpaces(const QString &text);

} // namespace tintavo
