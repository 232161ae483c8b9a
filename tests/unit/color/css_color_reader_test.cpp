#include "color/color_space.h"
#include "color/css_color_reader.h"
#include "color/css_formats.h"
#include "reference_color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

using namespace tintavo;
using reference::web;

namespace {

// Every form CSS Color 4 gives a colour, its edge values and what it refuses.
// The notes: a alpha dropped, c a value held to its range, g gamut-mapped.
// The values of red in the other spaces are those the standard's own
// conversions give it.
TEST(CssColorReader, FormsEdgesAndRefusals)
{
    const std::tuple<const char *, int, const char *> rows[] = {
        // clang-format off
        {"#abc", 0xAABBCC, ""}, {"#abcd", 0xAABBCC, "a"}, {"#ABCF", 0xAABBCC, ""},
        {"#C0FFEE", 0xC0FFEE, ""}, {"#4682b480", 0x4682B4, "a"}, {"#4682B4FF", 0x4682B4, ""},
        {"4682b4", 0x4682B4, ""}, {"  SteelBlue ", 0x4682B4, ""}, {"grey", 0x808080, ""},
        {"rgb(18 52 86)", 0x123456, ""}, {"rgb(18, 52, 86)", 0x123456, ""},
        {" RGB( 0 ,255,0 ) ", 0x00FF00, ""}, {"rgba(70,130,180,0.5)", 0x4682B4, "a"},
        {"rgb(70 130 180 / 50%)", 0x4682B4, "a"}, {"rgb(70 130 180 / 1)", 0x4682B4, ""},
        {"rgb(100% 50% 0%)", 0xFF8000, ""}, {"rgb(10% 20 30)", 0x1A141E, ""},
        {"rgb(255 127.5 .4)", 0xFF8000, ""}, {"rgb(1e2 none 0)", 0x640000, ""},
        {"rgb(300 -5 0)", 0xFF0000, "c"},
        {"hsl(120deg 100% 25%)", 0x008000, ""}, {"hsla(120, 100%, 25%, 0.3)", 0x008000, "a"},
        {"hsl(120 100 25)", 0x008000, ""}, {"hsl(0.5turn 100% 50%)", 0x00FFFF, ""},
        {"hsl(-120 100% 50%)", 0x0000FF, ""}, {"hsl(480 100% 50%)", 0x00FF00, ""},
        {"hsl(3.14159rad 100% 50%)", 0x00FFFF, ""}, {"hsl(200grad 100% 50%)", 0x00FFFF, ""},
        {"hsl(120 150% 50%)", 0x00FF00, "c"},
        {"hwb(120 0% 49.8039%)", 0x008000, ""}, {"hwb(0 60% 60%)", 0x808080, ""},
        {"hwb(240 20% 20% / 0)", 0x3333CC, "a"},
        {"lab(54.29 80.81 69.89)", 0xFF0000, ""}, {"lab(54.29% 64.65% 55.91%)", 0xFF0000, ""},
        {"lch(54.29 106.84 40.85)", 0xFF0000, ""}, {"lab(100 0 0)", 0xFFFFFF, ""},
        {"lab(150 0 0)", 0xFFFFFF, "c"}, {"lab(0 0 0)", 0x000000, ""},
        {"oklab(0.628 0.2249 0.1258)", 0xFF0000, ""}, {"oklab(62.8% 56.225% 31.45%)", 0xFF0000, ""},
        {"oklch(62.8% 0.2577 29.23)", 0xFF0000, ""}, {"oklch(0.628 64.4% 29.23deg)", 0xFF0000, ""},
        {"oklch(1 0.3 100)", 0xFFFFFF, "g"}, {"oklch(0 0.3 100)", 0x000000, "g"},
        {"oklch(0.6 0 none)", 0x808080, ""},
        {"color(srgb 0.2745 0.5098 0.7059)", 0x4682B4, ""}, {"color(srgb 100% 0% 0% / .2)", 0xFF0000, "a"},
        {"color(display-p3 0.9175 0.2003 0.1386)", 0xFF0000, ""},
        {"color(display-p3 1 1 1)", 0xFFFFFF, ""},
        {"nope", -1, ""}, {"", -1, ""}, {"#12345", -1, ""}, {"#1234567", -1, ""}, {"123", -1, ""},
        {"rgb(1, 2 3)", -1, ""}, {"rgb(1 2)", -1, ""}, {"rgb(1 2 3 4)", -1, ""}, {"rgb(1 2 3 /)", -1, ""},
        {"rgb(10%, 20, 30)", -1, ""}, {"rgb(none, 0, 0)", -1, ""}, {"rgb(1, 2, 3 / 1)", -1, ""},
        {"rgb(1 2 3", -1, ""}, {"rgb(10deg 0 0)", -1, ""}, {"hsl(10% 0 0)", -1, ""},
        {"lab(50 1deg 0)", -1, ""}, {"color(xyz 1 1 1)", -1, ""}, {"color(srgb 1, 0, 0)", -1, ""},
        {"transparent", -1, ""}, {"currentcolor", -1, ""}, {"rgb(calc(1) 0 0)", -1, ""}};
    // clang-format on
    for (const auto &[text, color, notes] : rows) {
        const CssColorReading got = readCssColor(QString::fromLatin1(text));
        EXPECT_EQ(got.color, color < 0 ? std::nullopt : std::optional(web(color))) << text;
        const std::string flags = std::string(got.alphaDropped ? "a" : "") +
                                  (got.clamped ? "c" : "") + (got.gamutMapped ? "g" : "");
        EXPECT_EQ(flags, notes) << text;
        EXPECT_EQ(got.notes().size(), qsizetype(flags.size())) << text;
    }
}

// A colour far outside sRGB keeps its OKLCH lightness and hue and loses
// chroma, where clipping each channel would turn it another hue.
TEST(CssColorReader, GamutMappingLowersChromaOnly)
{
    const std::tuple<const char *, double, double> rows[] = {{"oklch(0.7 0.4 150)", 0.7, 150},
                                                             {"oklch(0.5 0.35 300)", 0.5, 300},
                                                             {"oklch(0.9 0.3 30)", 0.9, 30},
                                                             {"oklch(0.4 0.3 200)", 0.4, 200}};
    for (const auto &[text, L, hue] : rows) {
        const CssColorReading got = readCssColor(QString::fromLatin1(text));
        ASSERT_TRUE(got.color && got.gamutMapped) << text;
        const OkLch mapped = toOkLch(*got.color);
        EXPECT_NEAR(mapped.L, L, 0.015) << text;
        EXPECT_NEAR(mapped.h, hue, 4) << text;
    }
}

// Every copy-as form reads back as the colour it was copied from, with every
// channel well inside its rounding step, so that a browser reading it,
// rounding its own way, gets the same 8-bit colour: the corners and edges of
// the 8-bit cube and a random sample.
TEST(CssColorReader, EveryCopyFormReadsBack)
{
    std::vector<Rgb> colors;
    const int edges[] = {0, 1, 2, 127, 128, 129, 253, 254, 255};
    for (int r : edges)
        for (int g : edges)
            for (int b : edges)
                colors.push_back(rgb(r, g, b));
    std::mt19937 random(20261207);
    for (int i = 0; i < 3000; ++i)
        colors.push_back(web(int(random() & 0xFFFFFF)));
    for (const Rgb c : colors) {
        for (const CssFormat format : kCssFormats) {
            const QString text = cssColor(c, format);
            const CssColorReading back = readCssColor(text);
            ASSERT_EQ(back.color, c) << text.toStdString();
            for (int i = 0; i < 3; ++i)
                ASSERT_LT(std::abs(back.exact[size_t(i)] - c.channel(i)), 0.4)
                    << text.toStdString();
            EXPECT_FALSE(back.gamutMapped || back.clamped || back.alphaDropped)
                << text.toStdString();
        }
    }
}

} // namespace
