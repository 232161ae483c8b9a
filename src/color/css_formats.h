#pragma once

#include "color/rgb.h"

#include <QString>

#include <array>

namespace tintavo {

// A colour written the ways style sheets accept, shown here for red 18,
// green 52, blue 86.
enum class CssFormat
{
    Hex,       // #123456
    HexLower,  // #123456 with a-f in lower case
    Rgb,       // rgb(18 52 86)
    RgbCommas, // rgb(18, 52, 86)
    Hsl,       // hsl(210 65% 20%): whole degrees and percent
    Oklch,     // oklch(0.319 0.072 251.2): lightness and chroma to three decimals, hue to one
};

inline constexpr std::array kCssFormats{CssFormat::Hex, CssFormat::HexLower,
                                        CssFormat::Rgb, CssFormat::RgbCommas,
                                        CssFormat::Hsl, CssFormat::Oklch};

QString cssColor(Rgb c, CssFormat format);

// The pair as one declaration: "color: #000000; background-color: #CD890F;".
QString cssDeclaration(Rgb foreground, Rgb background);

} // namespace tintavo
