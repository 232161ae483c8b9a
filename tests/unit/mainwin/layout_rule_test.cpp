#include "mainwin/layout_rule.h"

#include <gtest/gtest.h>

#include <QSize>
#include <QStringList>

#include <map>
#include <tuple>

using namespace tintavo;

namespace {

// One figure of a resize, named as "Frame1.width" or "colorBox".
int figure(const ResizeResult &r, const QString &name)
{
    if (name == u"colorBox")
        return r.colorBoxWidth;
    const MainLayout &l = r.layout;
    // clang-format off
    const std::map<QString, TwipsRect> rects{
        {"Frame1", l.previewFrame}, {"effect_text", l.preview}, {"fg_frame", l.foregroundFrame},
        {"bg_frame", l.backgroundFrame}, {"Frame4", l.commandFrame}, {"Frame3", l.colorBoxFrame},
        {"txtColorInfo", l.codeLine}};
    // clang-format on
    const TwipsRect &rect = rects.at(name.section(u'.', 0, 0));
    const int parts[] = {rect.left, rect.top, rect.width, rect.height};
    return parts[QStringList{"left", "top", "width", "height"}.indexOf(name.section(u'.', 1))];
}

// A window laid out at its design size (its preview then made narrower when a
// width is given) resized below what the preview takes: each width or height
// that would turn negative is skipped and later steps read the old one. The
// main window's tests cover the design size, growth and a window too low.
TEST(ResizedLayout, SkipsOnlyTheNegativeSizes)
{
    // clang-format off
    const std::tuple<qint32, qint32, int, const char *> rows[] = {
        // dh = -3900: Frame1's 225 applies, the preview's -135 is skipped.
        {11460, 7170 - 3900, 0, "Frame1.height=225 effect_text.height=3765 fg_frame.top=345 "
                                "bg_frame.top=1290 Frame3.top=2250 txtColorInfo.top=3765"},
        {11460, 7170 - 4125, 0, "Frame1.height=0 fg_frame.top=120"},
        // Width 300: the preview's -165 is skipped, so the code line's width
        // comes from its old 10995; Frame4 keeps its place past the edge.
        {300, 7170, 0, "Frame1.width=75 effect_text.width=10995 txtColorInfo.width=10755 "
                       "Frame3.width=75 colorBox=75 Frame4.left=7455 Frame4.width=3900"},
        // Width 100: Frame1's -125, the preview's -365 and the code line's -40
        // are skipped; Frame3 takes Frame1's old width.
        {100, 7170, 200, "Frame1.width=11235 effect_text.width=200 txtColorInfo.width=10755 "
                         "Frame3.width=11235 colorBox=11235"},
    };
    // clang-format on
    for (const auto &[width, height, previewWidth, expected] : rows) {
        MainLayout before = resizedLayout(11460, 7170, kDesignLayout).layout;
        if (previewWidth)
            before.preview.width = previewWidth;
        const ResizeResult r = resizedLayout(width, height, before);
        for (const QString &item : QString::fromLatin1(expected).split(u' '))
            EXPECT_EQ(figure(r, item.section(u'=', 0, 0)), item.section(u'=', 1).toInt())
                << width << 'x' << height << ' ' << item.toStdString();
    }
    const ResizeResult big = resizedLayout(2147483647, 2147483647, kDesignLayout);
    EXPECT_GE(std::min({big.layout.previewFrame.width, big.layout.previewFrame.height,
                        big.colorBoxWidth}),
              0);
    const MainLayout small = resizedLayout(-2147483647 - 1, -2147483647 - 1, kDesignLayout).layout;
    EXPECT_EQ(QSize(small.previewFrame.width, small.previewFrame.height), QSize(11235, 4155));
}

} // namespace
