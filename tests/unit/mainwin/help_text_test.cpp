#include "mainwin/help_text.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace tintavo;

namespace {

const QChar kIdeographicSpace(0x3000);

QStringList helpLines()
{
    QString text = helpText();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

TEST(HelpText, CrLfLinesUnderATitleOf34EqualsSignsEachSide)
{
    const QString text = helpText();
    EXPECT_EQ(text.count(QLatin1Char('\n')), text.count(QStringLiteral("\r\n")));
    EXPECT_EQ(text.count(QLatin1Char('\r')), text.count(QStringLiteral("\r\n")));
    const QStringList lines = helpLines();
    const QString rule(34, QLatin1Char('='));
    EXPECT_EQ(lines[0], rule + QStringLiteral("Brenvik软件工作室的作品，欢迎您使用！") + rule);
    EXPECT_TRUE(lines[1].isEmpty());
}

TEST(HelpText, SectionsInOrderEachFollowedByABlankLine)
{
    const QStringList lines = helpLines();
    const QStringList heads = {
        QStringLiteral("1、这个软件的用途："), QStringLiteral("2、使用方法："),
        QStringLiteral("3、增加了一个鼠标取色功能"), QStringLiteral("4、小技巧："),
        QStringLiteral("5、本软件存在的不足之处：")};
    qsizetype at = 0;
    for (const QString &head : heads) {
        qsizetype found = -1;
        for (qsizetype i = at; i < lines.size(); ++i) {
            if (lines[i].startsWith(head)) {
                found = i;
                break;
            }
        }
        ASSERT_GE(found, 0) << head.toStdString();
        at = found + 1;
    }
    // Sections 1, 2 and 5 carry a paragraph on the next line.
    EXPECT_EQ(
        lines.indexOf(QStringLiteral("2、使用方法：")) + 1,
        lines.indexOf(QStringLiteral(
            "很简单，您直接拖动各个滚动条，就可以改变相应的红绿蓝颜色值，同时就可以看到效果了。"
            "将鼠标指向每个文本框或按钮上时，会出现相应的提示。窗体底部有当前颜色代码显示，分RGB"
            "和16进制两种，您自己选择。")));
}

TEST(HelpText, ClosedBoxOfNineLinesAfterTwoBlankLines)
{
    const QStringList lines = helpLines();
    ASSERT_GE(lines.size(), 12);
    const qsizetype top = lines.size() - 9;
    EXPECT_TRUE(lines[top - 1].isEmpty());
    EXPECT_TRUE(lines[top - 2].isEmpty());
    EXPECT_FALSE(lines[top - 3].isEmpty());

    const QString border = QStringLiteral("＋") + QString(31, QChar(0xFF0D)) + QStringLiteral("＋");
    EXPECT_EQ(lines[top], border);
    EXPECT_EQ(lines[top + 8], border);
    EXPECT_EQ(border.size(), 33);

    for (int row = 1; row <= 7; ++row) {
        const QString &line = lines[top + row];
        ASSERT_EQ(line.size(), 34) << "row " << row;
        EXPECT_EQ(line.front(), QLatin1Char('|')) << "row " << row;
        EXPECT_EQ(line.back(), QLatin1Char('|')) << "row " << row;
    }

    const auto inner = [&](int row) { return lines[top + row].mid(1, 32); };
    EXPECT_TRUE(inner(1).startsWith(QStringLiteral("Brenvik软件工作室") + kIdeographicSpace +
                                    QStringLiteral("Brenvik软件") + kIdeographicSpace));
    EXPECT_TRUE(inner(2).startsWith(QStringLiteral("主页")));
    for (int row = 2; row <= 4; ++row)
        for (QChar ch : inner(row))
            EXPECT_GE(ch.unicode(), 0x80) << "row " << row; // no half-width ASCII
    EXPECT_EQ(inner(5), QString(32, kIdeographicSpace));
    EXPECT_TRUE(inner(6).startsWith(QString(22, kIdeographicSpace)));
    EXPECT_NE(inner(6).at(22), kIdeographicSpace);
    EXPECT_TRUE(inner(7).startsWith(QString(11, kIdeographicSpace)));
    EXPECT_GE(inner(7).at(11).unicode(), u'０');
    EXPECT_LE(inner(7).at(11).unicode(), u'９');
    // Every row is filled out with ideographic spaces, never ASCII ones.
    for (int row = 1; row <= 7; ++row)
        EXPECT_FALSE(inner(row).contains(QLatin1Char(' '))) << "row " << row;
}

} // namespace
