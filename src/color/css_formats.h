#pragma once

#include "color/rgb.h"

#include <QString>

#include <array>
#include <optional>

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
    DisplayP3, // color(display-p3 0.1066 0.2009 0.3270): four decimals
};

inline constexpr std::array kCssFormats{CssFormat::Hex,       CssFormat::HexLower, CssFormat::Rgb,
                                        CssFormat::RgbCommas, CssFormat::Hsl,      CssFormat::Oklch,
                                        CssFormat::DisplayP3};

QString cssColor(Rgb c, CssFormat format);

// The pair as one declaration: "color: #000000; background-color: #CD890F;".
QString cssDeclaration(Rgb foreground, Rgb background);

// A colour as a user writes one: #RGB, #RRGGBB, rgb(r g b), rgb(r, g, b)
// with whole channels 0..255, or a CSS name, in any case and with spaces
// around; nothing for anything else.
std::optional<Rgb> parseCssColor(const QString &text);

} // namespace tintavo
