#include "mainwin/help_text.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace tintavo;

namespace {

// The text the preview shows at start: CR LF lines, a title between 34 equals
// signs each side, and at the end, after two blank lines, a closed box of 9
// lines, its rows filled out with full-width characters.
TEST(HelpText, TitleAndAClosedBox)
{
    QString text = helpText();
    EXPECT_EQ(text.count(u'\n') + text.count(u'\r'), 2 * text.count(u"\r\n"));
    ASSERT_TRUE(text.endsWith(u"\r\n"));
    text.chop(2);
    const QStringList lines = text.split(u"\r\n"_qs);
    const QString rule(34, u'=');
    EXPECT_EQ(lines[0], rule + u"Brenvik软件工作室的作品，欢迎您使用！"_qs + rule);

    ASSERT_GE(lines.size(), 12);
    const qsizetype top = lines.size() - 9;
    EXPECT_TRUE(lines[top - 1].isEmpty() && lines[top - 2].isEmpty() && !lines[top - 3].isEmpty());
    const QString border = u"＋"_qs + QString(31, QChar(0xFF0D)) + u"＋"_qs;
    EXPECT_EQ(lines[top], border);
    EXPECT_EQ(lines[top + 8], border);
    const QChar ideographicSpace(0x3000);
    for (int row = 1; row <= 7; ++row) {
        const QString &line = lines[top + row];
        ASSERT_EQ(line.size(), 34) << "row " << row;
        EXPECT_TRUE(line.startsWith(u'|') && line.endsWith(u'|')) << "row " << row;
        EXPECT_FALSE(line.mid(1, 32).contains(u' ')) << "row " << row;
        for (QChar ch : line.mid(1, 32)) {
            if (row >= 2 && row <= 4) { // the contacts: no half-width ASCII
                EXPECT_GE(ch.unicode(), 0x80) << "row " << row;
            }
        }
    }
    EXPECT_EQ(lines[top + 5], u'|' + QString(32, ideographicSpace) + u'|');
    EXPECT_EQ(lines[top + 6].indexOf(u"林墨舟"_qs), 23); // the name and date set in
    EXPECT_EQ(lines[top + 7].indexOf(u"２００６年"_qs), 12);
}

} // namespace
