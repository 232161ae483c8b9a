#pragma once

#include "color/rgb.h"

#include <algorithm>
#include <cmath>

// The sRGB transfer function as IEC 61966-2-1 and WCAG write it, kept apart
// from the product code so the colour tests have something independent to
// check it against.
namespace tintavo::reference {

// A colour written the CSS way round, 0xRRGGBB.
inline Rgb web(int rrggbb)
{
    return rgb(rrggbb >> 16, (rrggbb >> 8) & 255, rrggbb & 255);
}

inline double linear(int channel)
{
    const double s = channel / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

inline int encoded(double v)
{
    v = std::clamp(v, 0.0, 1.0);
    return static_cast<int>(
        std::lround(255 * (v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055)));
}

} // namespace tintavo::reference
