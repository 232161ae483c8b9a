#include "color/contrast.h"
#include "color/css_formats.h"
#include "color/css_names.h"
#include "reference_color.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tintavo;
using reference::web;

namespace {

// The published APCA-W3 test vectors, text on background, to three decimals;
// and the figure as the plate and --contrast write it.
TEST(Apca, PublishedVectorsAndTheirText)
{
    const std::tuple<int, int, double, const char *> rows[] = {
        // clang-format off
        {0x888888, 0xFFFFFF, 63.056, "APCA Lc 63.1"}, {0xFFFFFF, 0x888888, -68.541, "APCA Lc -68.5"},
        {0x000000, 0xAAAAAA, 58.146, "APCA Lc 58.1"}, {0xAAAAAA, 0x000000, -56.241, "APCA Lc -56.2"},
        {0x112233, 0xDDEEFF, 91.668, "APCA Lc 91.7"}, {0xDDEEFF, 0x112233, -93.068, "APCA Lc -93.1"},
        {0x112233, 0x444444, 8.323, "APCA Lc 8.3"}, {0x444444, 0x112233, -7.527, "APCA Lc -7.5"},
        // Below the clip, and the same colour twice.
        {0x777777, 0x787878, 0, "APCA Lc 0.0"}, {0xCD890F, 0xCD890F, 0, "APCA Lc 0.0"}};
    // clang-format on
    for (const auto &[text, background, lc, shown] : rows) {
        const double got = apcaContrast(web(text), web(background));
        EXPECT_NEAR(got, lc, 0.0005) << std::hex << text;
        EXPECT_EQ(apcaText(got).toStdString(), shown);
    }
    EXPECT_EQ(pairContrastText(web(0x888888), web(0xFFFFFF)).toStdString(),
              "对比度 3.54:1  正文 AA✗ AAA✗  大字 AA✓ AAA✗  APCA Lc 63.1");
}

// Exact names (every one where colours share a value), the nearest by ΔE_OK
// otherwise, the first name alphabetically on a tie.
TEST(CssNames, ExactAndNearest)
{
    const std::tuple<int, const char *, const char *, double> rows[] = {
        // clang-format off
        {0x663399, "rebeccapurple", "rebeccapurple", 0}, {0x808080, "gray grey", "gray", 0},
        {0x2F4F4F, "darkslategray darkslategrey", "darkslategray", 0},
        {0x00FFFF, "aqua cyan", "aqua", 0}, {0xFF00FF, "fuchsia magenta", "fuchsia", 0},
        {0x4682B5, "", "steelblue", 0.0016}, {0x7F7F7F, "", "gray", 0.0034},
        {0xFE0000, "", "red", 0.0020}, {0x123456, "", "midnightblue", 0.0865}};
    // clang-format on
    EXPECT_EQ(cssNamedColorCount(), 148);
    for (const auto &[color, exact, nearest, deltaE] : rows) {
        EXPECT_EQ(cssNamesOf(web(color)).join(u' ').toStdString(), exact) << std::hex << color;
        const NearestCssName found = nearestCssName(web(color));
        EXPECT_EQ(found.name.toStdString(), nearest) << std::hex << color;
        EXPECT_NEAR(found.deltaE, deltaE, 0.0001) << std::hex << color;
    }
}

TEST(CssText, DisplayP3)
{
    const std::pair<int, const char *> rows[] = {
        // clang-format off
        {0x3366CC, "0.2499 0.3952 0.7736"}, {0xFF0000, "0.9175 0.2003 0.1386"},
        {0x00FF00, "0.4584 0.9853 0.2983"}, {0x0000FF, "0.0000 0.0000 0.9596"},
        {0x000000, "0.0000 0.0000 0.0000"}, {0xFFFFFF, "1.0000 1.0000 1.0000"},
        {0x808080, "0.5020 0.5020 0.5020"}, {0xCD890F, "0.7652 0.5489 0.1993"}};
    // clang-format on
    for (const auto &[color, channels] : rows)
        EXPECT_EQ(cssColor(web(color), CssFormat::DisplayP3).toStdString(),
                  "color(display-p3 " + std::string(channels) + ")");
}

} // namespace
