#pragma once

#include "color/rgb.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tintavo {

// What reading a colour code gave: the colour, and what had to be given up
// to make it one of Tintavo's opaque 8-bit sRGB colours.
struct CssColorReading
{
    // Nothing when the text is no colour.
    std::optional<Rgb> color;
    // Its channels before they were rounded to 8 bits, 0..255 but for less
    // than half a step either side.
    std::array<double, 3> exact{};
    // The text gave an alpha below 1, which was dropped.
    bool alphaDropped = false;
    // The colour lay outside sRGB and was brought in by gamut mapping.
    bool gamutMapped = false;
    // A channel of rgb(), hsl() or hwb() lay outside its range and was held
    // to it, as browsers do.
    bool clamped = false;

    // One Chinese sentence for each of the above that holds, for the user.
    QStringList notes() const;
};

// The one reader of colour codes, for the command line, palette files and
// paste alike. It takes CSS Color 4's forms, in any case, with spaces around:
// #RGB, #RGBA, #RRGGBB, #RRGGBBAA and six hex digits without '#'; rgb()/rgba()
// with numbers or percentages; hsl()/hsla(), hwb(), lab(), lch(), oklab(),
// oklch(); color(srgb …) and color(display-p3 …); and the CSS names. Inside a
// function the channels are separated by spaces (alpha after '/') or by
// commas (alpha fourth); "none" reads as 0. Hues take deg, rad, grad and turn.
// A colour outside sRGB is mapped in as CSS Color 4 maps it for display:
// OKLCH chroma lowered until clipping is no longer noticeable.
CssColorReading readCssColor(QStringView text);

// readCssColor's colour alone, for callers with nowhere to show its notes.
std::optional<Rgb> parseCssColor(const QString &text);

} // namespace tintavo
