#include "color/palette_ramp.h"
#include "colorbox/color_box_write.h"
#include "colorbox/palette_file.h"
#include "colorbox/ramp_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

using namespace tintavo;

namespace {

// Palettes, GIMP's or CSS custom properties, are taken whole or not at all;
// a refused one names its bad line. A style sheet's declarations of other
// things than colours are passed over, and counted.
TEST(ReadPalette, TakesPalettesWholeOrNotAtAll)
{
    const std::tuple<QByteArray, std::vector<Rgb>, int> rows[] = {
        {"GIMP Palette\nName: Web safe\nColumns: 6\n#\n# comment\n  0   0   0\tBlack\n"
         "255 128   7\tDeep orange 2\n\n",
         {rgb(0, 0, 0), rgb(255, 128, 7)},
         0},
        {"\xEF\xBB\xBFGIMP Palette\r\nName: x\r\n1 2 3\r\n", {rgb(1, 2, 3)}, 0},
        {"", {}, 0},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {}, 0},
        {QByteArray("GIMP Palette\n\0", 14), {}, 2},
        {"GIMP Palette\n1 2 3 a\n4 5\n6 7 8\n", {}, 3},
        {"/* exported */\n:root {\n  --a: #123456;\n  /* --b: nope;\n */ --c:rgb(1 2 3 / 50%)\n}",
         {rgb(0x12, 0x34, 0x56), rgb(1, 2, 3)},
         0},
        {".x { color: red; --brand: hsl(0 100% 50%); }", {rgb(255, 0, 0)}, 0},
        {":root {\n  --a: #123456;\n  --gap: 10px;\n  --b: rgb(1, 2 3);\n}\n", {}, 4},
        {":root {\n  --a: #12345;\n}\n", {}, 2},
        {"GIMP Palette\n1 2 3\n\n10 256 0 Too bright\n", {}, 4},
        {"GIMP Palette\nName: none\n", {}, 0}};
    const PaletteReadResult noted = readPalette(
        ":root {\n  --gap: 1px;\n  --a: rgb(0 0 0 / .5);\n  --b: color(display-p3 1 0 0);\n"
        "  --font: \"Inter\";\n}\n");
    EXPECT_EQ(noted.colors.size(), 2u);
    EXPECT_EQ(noted.notes().join(u'\n'),
              QStringLiteral("其中 1 种颜色的透明度已舍去：Tintavo 的颜色都是不透明的。\n"
                             "其中 1 种颜色超出 sRGB 色域，已按 CSS Color 4 的色域映射换成最接近的 "
                             "sRGB 颜色。\n跳过了 2 个不是颜色的声明（第 2、5 行）。"));
    for (const auto &[bytes, colors, badLine] : rows) {
        const PaletteReadResult read = readPalette(bytes);
        EXPECT_EQ(read.colors, colors) << bytes.constData();
        EXPECT_EQ(read.error.isEmpty(), !colors.empty()) << read.error.toStdString();
        EXPECT_EQ(read.errorLine, badLine) << bytes.constData();
        if (badLine > 0) {
            EXPECT_TRUE(read.error.startsWith(QStringLiteral("第 %1 行").arg(badLine)));
        }
    }
}

TEST(WritePalette, ExportsNonWhiteSwatchesAndReadsThemBack)
{
    const std::vector<Rgb> colors =
        exportedColors({rgb(18, 52, 86), kRgbWhite, rgb(0, 0, 0), rgb(255, 255, 254)});
    const QByteArray gpl = gimpPaletteBytes(colors, QStringLiteral("Tintavo"), 8);
    EXPECT_EQ(gpl, "GIMP Palette\nName: Tintavo\nColumns: 8\n#\n18 52 86\t#123456\n"
                   "0 0 0\t#000000\n255 255 254\t#FFFFFE\n");
    EXPECT_EQ(readGimpPalette(gpl).colors, colors);
    const QByteArray css = cssPropertiesBytes(colors);
    EXPECT_EQ(css, ":root {\n  --tintavo-0: #123456;\n  --tintavo-1: #000000;\n"
                   "  --tintavo-2: #FFFFFE;\n}\n");
    EXPECT_EQ(readPalette(css).colors, colors);

    // Writing the file is the main window's tests' part, but for a failure.
    QTemporaryDir dir;
    EXPECT_TRUE(writeFileAtomically(dir.filePath(QStringLiteral("no/such/dir.gpl")), gpl)
                    .startsWith(QStringLiteral("无法写入文件")));
}

// From the first swatch to the end at most, never round to the start; only
// empty (white) swatches when filling gaps.
TEST(WriteSlots, FromTheSwatchToTheEndOnly)
{
    const Rgb w = kRgbWhite, c = rgb(1, 2, 3);
    const std::vector<Rgb> box{c, w, w, c, w};
    EXPECT_EQ(writeSlots(box, 3, 4, BoxWriteMode::Overwrite), (std::vector<int>{3, 4}));
    EXPECT_EQ(writeSlots(box, 0, 9, BoxWriteMode::FillEmpty), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(writeSlots(box, 2, 1, BoxWriteMode::FillEmpty), (std::vector<int>{2}));
    EXPECT_EQ(writeSlots(box, 7, 2, BoxWriteMode::Overwrite), (std::vector<int>{}));
}

} // namespace

namespace {

// A Tailwind theme names a run of eleven as a ramp only where it is one;
// other colours are numbered. The file names them.
TEST(RampFiles, TailwindThemeAndNames)
{
    const Ramp blue = rampOf(rgb(0x1D, 0x4E, 0xD8)), grey = rampOf(rgb(0x80, 0x80, 0x80));
    std::vector<Rgb> ramps(blue.steps.begin(), blue.steps.end());
    ramps.push_back(rgb(0, 0, 0));
    ramps.insert(ramps.end(), grey.steps.begin(), grey.steps.end());
    std::vector<Rgb> twoHues = ramps;
    twoHues[5] = rgb(0xD8, 0x1D, 0x4E); // a red amid the blue steps
    std::vector<Rgb> unsorted(blue.steps.begin(), blue.steps.end());
    std::swap(unsorted[2], unsorted[3]);
    const std::tuple<QString, std::vector<Rgb>, QStringList> rows[] = {
        {"brand",
         ramps,
         {"color-brand-50: #f4f8ff", "color-brand-700: #1d4ed8", "color-brand-1: #000000",
          "color-brand-2-50: #f7f7f7", "color-brand-2-950: #282828"}},
        {"brand",
         twoHues,
         {"color-brand-1: #f4f8ff", "color-brand-12: #000000", "color-brand-50: #f7f7f7"}},
        {"", unsorted, {"color-1: #f4f8ff", "color-11: #0e2359"}},
        {"", {rgb(0x3B, 0x82, 0xF6), rgb(0, 0, 0)}, {"color-1: #3b82f6", "color-2: #000000"}}};
    for (const auto &[name, colors, names] : rows) {
        const QString theme = QString::fromUtf8(tailwindThemeBytes(name, colors));
        EXPECT_TRUE(theme.startsWith(u"@theme {\n") && theme.endsWith(u";\n}\n"))
            << theme.toStdString();
        EXPECT_EQ(theme.count(u'\n'), qsizetype(colors.size()) + 2);
        for (const QString &line : names)
            EXPECT_TRUE(theme.contains(QStringLiteral("\n  --%1;\n").arg(line)))
                << line.toStdString() << '\n'
                << theme.toStdString();
    }
    EXPECT_EQ(rampCssLines(QStringLiteral("c"), {rgb(255, 0, 0), rgb(0, 0, 0)}),
              "--c-50: #ff0000;\n--c-100: #000000;\n");
    for (const auto &[path, name] : {std::pair{"/tmp/brand.css", "brand"},
                                     {"/tmp/my-blue_2.css", "my-blue_2"},
                                     {"/tmp/2024 palette.css", "tintavo"},
                                     {"/tmp/品牌.css", "tintavo"}})
        EXPECT_EQ(rampNameForFile(QString::fromUtf8(path)), QLatin1String(name));
}

} // namespace
