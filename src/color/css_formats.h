#pragma once

#include "color/css_color_reader.h"
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
    Hsl,       // hsl(210 65.4% 20.4%): as few decimals as read back exactly
    Oklch,     // oklch(0.319 0.072 251.2): lightness and chroma to three decimals, hue to
               // one, more where fewer would not read back as the same colour
    DisplayP3, // color(display-p3 0.1066 0.2009 0.3270): four decimals, or more likewise
};

inline constexpr std::array kCssFormats{CssFormat::Hex,       CssFormat::HexLower, CssFormat::Rgb,
                                        CssFormat::RgbCommas, CssFormat::Hsl,      CssFormat::Oklch,
                                        CssFormat::DisplayP3};

// Every form reads back through readCssColor (parseCssColor, included above
// for the callers that write and read) as exactly `c`.
QString cssColor(Rgb c, CssFormat format);

// The pair as one declaration: "color: #000000; background-color: #CD890F;".
QString cssDeclaration(Rgb foreground, Rgb background);

} // namespace tintavo
