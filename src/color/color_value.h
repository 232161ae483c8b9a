#pragma once

#include "color/rgb.h"

#include <QtGlobal>

namespace tintavo {

// A colour in the layout the settings file stores: 0x00BBGGRR, red in the low
// byte. Only the settings file and its stores speak it; everything else works
// on Rgb and converts with the two functions below.
using ColorValue = qint32;

// White marks an empty swatch.
inline constexpr ColorValue kWhite = 16777215;

constexpr ColorValue packRgb(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

constexpr ColorValue toColorValue(Rgb c)
{
    return packRgb(c.red, c.green, c.blue);
}

// Only the low 24 bits count, so a hand-edited value outside 0..0xFFFFFF
// still gives a colour.
constexpr Rgb toRgb(ColorValue c)
{
    return rgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

} // namespace tintavo
