#pragma once

#include "color/rgb.h"

#include <QObject>
#include <QString>

#include <array>

namespace tintavo {

// Which colour of the pair: the text colour or the colour behind it.
enum class PairRole
{
    Foreground,
    Background
};

// What the two text boxes of one channel show. Normally the channel value's
// own forms ("7", "07"); while the user edits, the text as he left it: a lone
// hexadecimal digit, leading zeros, an empty box or a refused text.
struct ChannelTexts
{
    QString decimal;
    QString hex;

    friend bool operator==(const ChannelTexts &, const ChannelTexts &) = default;
};

// The two colours the program exists to show, the foreground (text) colour and
// the background colour, with what the channel boxes show of them. They live
// here and nowhere else: the editors, the preview, the code line and the
// swatch commands read them from here and hear of each change through changed().
class ColorPair : public QObject
{
    Q_OBJECT

public:
    explicit ColorPair(QObject *parent = nullptr);

    Rgb color(PairRole role) const { return side(role).color; }
    Rgb foreground() const { return m_sides[0].color; }
    Rgb background() const { return m_sides[1].color; }
    // Channel 0, 1, 2: red, green, blue.
    const ChannelTexts &texts(PairRole role, int channel) const
    {
        return side(role).texts[size_t(channel)];
    }

    // `color` becomes the colour of `role`, and every box of `role` shows it in
    // its own forms.
    void setColor(PairRole role, Rgb color);
    // One channel as an edit leaves it: its value and what its boxes show.
    void setChannel(PairRole role, int channel, int value, const ChannelTexts &texts);

    // The forms a channel value is shown in when nobody is typing.
    static ChannelTexts textsOf(int value);

signals:
    // Anything above changed; setting what is there already announces nothing.
    void changed();

private:
    struct Side
    {
        Rgb color;
        std::array<ChannelTexts, 3> texts;
    };
    Side &side(PairRole role) { return m_sides[role == PairRole::Foreground ? 0 : 1]; }
    const Side &side(PairRole role) const { return m_sides[role == PairRole::Foreground ? 0 : 1]; }

    std::array<Side, 2> m_sides;
};

} // namespace tintavo
