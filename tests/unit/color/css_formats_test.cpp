#include "color/css_formats.h"
#include "reference_color.h"

#include <gtest/gtest.h>

using namespace tintavo;

namespace {

// Every format exactly (the main window's tests copy the declaration).
TEST(CssText, EveryFormatExactly)
{
    const std::pair<int, std::array<const char *, 6>> rows[] = {
        // clang-format off
        {0x123456, {"#123456", "#123456", "rgb(18 52 86)", "rgb(18, 52, 86)", "hsl(210 65.4% 20.4%)", "oklch(0.319 0.072 251.2)"}},
        {0xCD890F, {"#CD890F", "#cd890f", "rgb(205 137 15)", "rgb(205, 137, 15)", "hsl(38.5 86.4% 43.1%)", "oklch(0.6826 0.1421 73.25)"}},
        {0x000000, {"#000000", "#000000", "rgb(0 0 0)", "rgb(0, 0, 0)", "hsl(0 0% 0%)", "oklch(0.000 0.000 0.0)"}},
        {0xFFFFFF, {"#FFFFFF", "#ffffff", "rgb(255 255 255)", "rgb(255, 255, 255)", "hsl(0 0% 100%)", "oklch(1.000 0.000 0.0)"}},
        {0x808080, {"#808080", "#808080", "rgb(128 128 128)", "rgb(128, 128, 128)", "hsl(0 0% 50.2%)", "oklch(0.600 0.000 0.0)"}},
        {0x00FF00, {"#00FF00", "#00ff00", "rgb(0 255 0)", "rgb(0, 255, 0)", "hsl(120 100% 50%)", "oklch(0.8664 0.2948 142.50)"}},
        {0x0000FF, {"#0000FF", "#0000ff", "rgb(0 0 255)", "rgb(0, 0, 255)", "hsl(240 100% 50%)", "oklch(0.4520 0.3132 264.05)"}},
        // Hues near 0 on either side; whole numbers where they read back
        // exactly (hsl(0 100% 24%) would read #7A0000).
        {0x780001, {"#780001", "#780001", "rgb(120 0 1)", "rgb(120, 0, 1)", "hsl(359.5 100% 23.5%)", "oklch(0.3597 0.1475 28.94)"}},
        {0x780100, {"#780100", "#780100", "rgb(120 1 0)", "rgb(120, 1, 0)", "hsl(0.5 100% 23.5%)", "oklch(0.360 0.147 29.4)"}},
        // Saturation exactly 2.5%; an OKLCH hue of 359.996 reads 0.
        {0x292827, {"#292827", "#292827", "rgb(41 40 39)", "rgb(41, 40, 39)", "hsl(30 2.5% 15.7%)", "oklch(0.278 0.002 67.7)"}},
        {0xFD0387, {"#FD0387", "#fd0387", "rgb(253 3 135)", "rgb(253, 3, 135)", "hsl(328.3 98.4% 50.2%)", "oklch(0.6444 0.2604 0.00)"}}};
    // clang-format on
    for (const auto &[color, texts] : rows)
        for (size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(cssColor(reference::web(color), kCssFormats[i]),
                      QString::fromLatin1(texts[i]));
}

} // namespace
