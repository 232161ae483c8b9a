#pragma once

#include "color/color_value.h"

#include <QtGlobal>

#include <vector>

namespace tintavo::testing_support {

// The colour a writer stores in swatch index during round generation: every
// swatch and every round differ, and none is white, so a read-back colour
// tells exactly which round wrote it.
inline ColorValue generationColor(quint32 generation, quint32 index)
{
    const quint32 mixed = (generation * 2654435761u) ^ (index * 40503u + generation);
    const ColorValue color = ColorValue(mixed & 0xFFFFFFu);
    return color == kWhite ? ColorValue(index & 0xFFFFu) : color;
}

inline std::vector<ColorValue> generationColors(quint32 generation, quint32 count)
{
    std::vector<ColorValue> colors(count);
    for (quint32 i = 0; i < count; ++i)
        colors[i] = generationColor(generation, i);
    return colors;
}

} // namespace tintavo::testing_support
