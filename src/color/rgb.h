#pragma once

#include <QtGlobal>

namespace tintavo {

// A colour as the program works with it: three 8-bit channels.
struct Rgb
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;

    friend constexpr bool operator==(const Rgb &, const Rgb &) = default;

    // Channel 0, 1 or 2: red, green, blue, the order the editors show them in.
    constexpr int channel(int index) const { return index == 0 ? red : index == 1 ? green : blue; }
    constexpr Rgb withChannel(int index, int value) const
    {
        Rgb c = *this;
        (index == 0 ? c.red : index == 1 ? c.green : c.blue) = quint8(value);
        return c;
    }
};

// Channels 0..255; only the low eight bits of each count.
constexpr Rgb rgb(int red, int green, int blue)
{
    return {quint8(red), quint8(green), quint8(blue)};
}

// White marks an empty swatch.
inline constexpr Rgb kRgbWhite{255, 255, 255};

} // namespace tintavo
