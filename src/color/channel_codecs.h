#pragma once

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

// True when every character is a hexadecimal digit (or the text is empty);
// otherwise false after showing kHexDigit. No length limit.
bool isHexText(const QString &text, MessageService &messages);

// Two upper-case hexadecimal digits for a channel value 0..255.
QString hexByte(int value);

// The value of one or two hexadecimal digits (blanks around them ignored);
// a non-digit counts as 0. More than two characters: kHexLength, then 0.
int hexValue(const QString &text, MessageService &messages);

// The text unchanged when it is decimal digits spelling at most 255 (the empty
// text included); "0" after kDigitsOnly for any non-digit; "255" after
// kTooLarge for a larger number.
QString checkedDecimal(const QString &text, MessageService &messages);

// Pads a lone character (blanks around it ignored) to two: " 7 " -> "07".
QString padHexDigit(const QString &text);

} // namespace tintavo
