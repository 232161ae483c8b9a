#include "color/color_code_line.h"

#include <gtest/gtest.h>

using namespace tintavo;

namespace {

ChannelTexts canonical(int fr, int fg, int fb, int br, int bg, int bb)
{
    auto dec = [](int v) { return QString::number(v); };
    auto hex = [](int v) { return QStringLiteral("%1").arg(v, 2, 16, QChar(u'0')).toUpper(); };
    return {dec(fr), dec(fg), dec(fb), hex(fr), hex(fg), hex(fb),
            dec(br), dec(bg), dec(bb), hex(br), hex(bg), hex(bb)};
}

TEST(ColorCodeLine, StartUpColours)
{
    EXPECT_EQ(colorCodeLine(canonical(0, 0, 0, 205, 137, 15)),
              u"[当前颜色设置]   前景色RGB(0，0，0)[#000000]             背景色：RGB(205，137，15) "
              u"[#CD890F]"_qs);
}

TEST(ColorCodeLine, RedOnBlack)
{
    EXPECT_EQ(colorCodeLine(canonical(255, 0, 0, 0, 0, 0)),
              u"[当前颜色设置]   前景色RGB(255，0，0)[#FF0000]             背景色：RGB(0，0，0) "
              u"[#000000]"_qs);
}

TEST(ColorCodeLine, TakesBoxTextsVerbatim)
{
    ChannelTexts t = canonical(7, 0, 0, 0, 0, 0);
    t.fgRedDec = u"007"_qs;
    t.fgRedHex = u"F"_qs;
    t.bgBlueDec.clear();
    const QString line = colorCodeLine(t);
    EXPECT_TRUE(line.contains(u"RGB(007，"_qs));
    EXPECT_TRUE(line.contains(u"[#F0000]"_qs));
    EXPECT_TRUE(line.contains(u"RGB(0，0，)"_qs));
}

TEST(ColorCodeLine, FixedPartsHaveTheirExactLengths)
{
    const QString line = colorCodeLine(canonical(0, 0, 0, 0, 0, 0));
    const QString prefix = u"[当前颜色设置]   前景色"_qs;
    EXPECT_EQ(prefix.size(), 14);
    EXPECT_TRUE(line.startsWith(prefix));
    const QString middle = u"             背景色：RGB("_qs;
    EXPECT_EQ(middle.size(), 21);
    EXPECT_TRUE(line.contains(QStringLiteral("]") + middle));
}

} // namespace
