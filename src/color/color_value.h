#pragma once

#include <QtGlobal>

namespace tintavo {

// A colour in the layout the settings file stores: 0x00BBGGRR, red in the low byte.
using ColorValue = qint32;

// White marks an empty swatch.
inline constexpr ColorValue kWhite = 16777215;

constexpr ColorValue RGB(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

} // namespace tintavo
