#include "color/color_pair.h"

#include "color/channel_codecs.h"

namespace tintavo {

ColorPair::ColorPair(QObject *parent) : QObject(parent)
{
    // Black on #CD890F.
    for (PairRole role : {PairRole::Foreground, PairRole::Background}) {
        Side &s = side(role);
        s.color = role == PairRole::Foreground ? rgb(0, 0, 0) : rgb(205, 137, 15);
        for (int i = 0; i < 3; ++i)
            s.texts[size_t(i)] = textsOf(s.color.channel(i));
    }
}

ChannelTexts ColorPair::textsOf(int value)
{
    return {QString::number(value), hexByte(value)};
}

void ColorPair::setColor(PairRole role, Rgb color)
{
    Side &s = side(role);
    Side wanted{color, {}};
    for (int i = 0; i < 3; ++i)
        wanted.texts[size_t(i)] = textsOf(color.channel(i));
    if (s.color == wanted.color && s.texts == wanted.texts)
        return;
    s = wanted;
    emit changed();
}

void ColorPair::setChannel(PairRole role, int channel, int value, const ChannelTexts &texts)
{
    Side &s = side(role);
    const Rgb color = s.color.withChannel(channel, value);
    ChannelTexts &shown = s.texts[size_t(channel)];
    if (s.color == color && shown == texts)
        return;
    s.color = color;
    shown = texts;
    emit changed();
}

} // namespace tintavo
