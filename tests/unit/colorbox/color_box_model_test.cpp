#include "colorbox/color_box_model.h"
#include "colorbox/random_color.h"
#include "colorbox/swatch_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

using namespace tintavo;

namespace {

// How many columns of swatches a frame of a width holds; 0 leaves them where
// they were.
TEST(SwatchColumns, FitTheFrameWithItsMargin)
{
    const struct
    {
        const char *name;
        qint32 frameWidth;
        int columns;
    } rows[] = {
        {"design width", 11235, 46},
        {"two columns", 600, 2},
        {"one column, narrowest", 360, 1},
        {"one column, widest", 599, 1},
        {"too narrow", 359, 0},
        {"negative", -100000, 0},
        {"widest there is", 2147483647, 8947848},
    };
    for (const auto &row : rows)
        EXPECT_EQ(swatchColumns(row.frameWidth), row.columns) << row.name;
}

// The capture slot at start-up for a box of `count` swatches, those in
// [from, to) coloured and the rest white, the remember switch and the stored
// slot. The main window's start-up tests read the everyday cases from a file.
TEST(StartCaptureSlot, ChoosesTheSlot)
{
    const struct
    {
        const char *name;
        int count, from, to;
        qint32 remember, stored, expected;
    } rows[] = {
        // Remember-position off (any value but 1): the first white swatch, or the count.
        {"all white", 64, 0, 0, 0, 0, 0},
        {"first white after five", 64, 0, 5, 0, 7, 5},
        {"a white last swatch alone is full", 64, 0, 63, 0, 0, 64},
        {"full", 64, 0, 64, 0, 0, 64},
        {"last two white", 64, 0, 62, 0, 0, 62},
        {"white first swatch", 64, 1, 64, 0, 0, 0},
        {"two swatches, last white", 2, 0, 1, 0, 0, 2},
        {"remember 2 counts as off", 64, 0, 5, 2, 7, 5},
        {"empty box", 0, 0, 0, 0, 0, 0},
        // On: the stored slot strictly inside the box, else 0, never the white search.
        {"stored 7", 64, 0, 0, 1, 7, 7},
        {"stored next to last", 64, 0, 0, 1, 62, 62},
        {"stored 0", 64, 0, 5, 1, 0, 0},
        {"stored last", 64, 0, 5, 1, 63, 0},
        {"stored past the end", 64, 0, 5, 1, 64, 0},
        {"stored negative", 64, 0, 5, 1, -1, 0},
        {"two swatches, stored 1", 2, 0, 0, 1, 1, 0},
        {"stored huge", 64, 0, 5, 1, 2147483647, 0},
        {"empty box, remembered", 0, 0, 0, 1, 0, 0},
    };
    for (const auto &row : rows) {
        std::vector<Rgb> colors(size_t(row.count), kRgbWhite);
        for (int i = row.from; i < row.to; ++i)
            colors[size_t(i)] = rgb(255, 0, 0);
        EXPECT_EQ(startCaptureSlot(colors, row.remember, row.stored), row.expected) << row.name;
    }
}

// A draw in [0, 1) to a channel: 256 steps, halves to even, the top one 255.
TEST(RandomColor, ChannelFromUnit)
{
    const std::pair<double, int> rows[] = {
        {0.0, 0},       {0.5 / 256, 0},     {0.6 / 256, 1},     {1.5 / 256, 2},
        {2.5 / 256, 2}, {254.6 / 256, 255}, {255.5 / 256, 255}, {std::nextafter(1.0, 0.0), 255}};
    for (const auto &[unit, channel] : rows)
        EXPECT_EQ(channelFromUnit(unit), channel) << unit * 256;
    // New swatches (and a random fill, the same draw) get nearly all distinct
    // colours: a repeating stream would give a few.
    ColorBoxModel box;
    box.addSwatches(255);
    std::set<int> distinct;
    for (Rgb c : box.colors())
        distinct.insert(c.red << 16 | c.green << 8 | c.blue);
    EXPECT_GE(distinct.size(), 250u);
}

// Every change is one step back and forth, announced as a change so that it
// is saved; start-up's filling is none, a new change drops what was undone,
// and the oldest steps go past the limit.
TEST(ColorBoxHistory, UndoAndRedoEveryChange)
{
    ColorBoxModel box;
    const Rgb w = kRgbWhite, a = rgb(1, 0, 0), b = rgb(2, 0, 0);
    box.setSwatches(std::vector<Rgb>(4, w));
    EXPECT_FALSE(box.canUndo());
    box.storeCapture(a);
    box.setColorsAt({2, 3}, {a, b});
    box.fillColors(b);
    std::vector<int> announced;
    QObject::connect(&box, &ColorBoxModel::colorChanged, [&](int i) { announced.push_back(i); });
    box.undo();
    EXPECT_EQ(box.colors(), (std::vector<Rgb>{a, w, a, b}));
    box.undo();
    EXPECT_EQ(box.colors(), (std::vector<Rgb>{a, w, w, w}));
    EXPECT_EQ(announced, (std::vector<int>{0, 1, 2, 2, 3}));
    box.redo();
    EXPECT_EQ(box.colors(), (std::vector<Rgb>{a, w, a, b}));
    box.setColor(1, b);
    EXPECT_FALSE(box.canRedo());
    for (int i = 0; i < 300; ++i)
        box.setColor(0, rgb(i % 2, 9, 9));
    int steps = 0;
    for (; box.canUndo(); ++steps)
        box.undo();
    EXPECT_EQ(steps, ColorBoxModel::kUndoSteps);
    EXPECT_EQ(box.color(1), b);
}

} // namespace
