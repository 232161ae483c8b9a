#pragma once

#include <QString>

#include <array>

namespace tintavo {

// What the two text boxes of one channel show. Normally the channel value's
// own forms ("7", "07"); while the user edits, the text as he left it: a lone
// hexadecimal digit, leading zeros, an empty box or a refused text.
struct ChannelTexts
{
    QString decimal;
    QString hex;

    // The forms a channel value is shown in when nobody is typing.
    static ChannelTexts of(int value);
    friend bool operator==(const ChannelTexts &, const ChannelTexts &) = default;
};

// The boxes' texts of the foreground's and the background's red, green and blue.
using PairTexts = std::array<std::array<ChannelTexts, 3>, 2>;

// The copyable colour-code line. It shows the channel boxes' texts verbatim,
// unvalidated, so the line always says exactly what the boxes hold.
QString colorCodeLine(const PairTexts &texts);

} // namespace tintavo
