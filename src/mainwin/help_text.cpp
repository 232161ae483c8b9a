#include "mainwin/help_text.h"

#include <QStringList>

namespace tintavo {

namespace {

const QChar kIdeographicSpace(0x3000);

QString spaces(int n)
{
    return QString(n, kIdeographicSpace);
}

// One row of the contact box: text filled out with ideographic spaces to the
// row width between two bars. Text that would not fit is cut so that the box
// stays closed.
QString boxRow(const QString &text)
{
    QString row = text.left(kHelpBoxRowWidth);
    row += spaces(kHelpBoxRowWidth - static_cast<int>(row.size()));
    return QLatin1Char('|') + row + QLatin1Char('|');
}

QString boxBorder()
{
    return QStringLiteral("＋") + QString(kHelpBoxRowWidth - 1, QChar(0xFF0D)) +
           QStringLiteral("＋");
}

} // namespace

QString toFullWidth(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u' ')
            out += kIdeographicSpace;
        else if (u >= 0x21 && u <= 0x7E)
            out += QChar(static_cast<char16_t>(u - 0x21 + 0xFF01));
        else
            out += ch;
    }
    return out;
}

QString helpText()
{
    const QString rule(34, QLatin1Char('='));

    QStringList lines;
    lines << rule + QStringLiteral("Brenvik软件工作室的作品，欢迎您使用！") + rule;
    lines << QString();
    lines << QStringLiteral("1、这个软件的用途：");
    lines << QStringLiteral(
        "我平时用服务器端脚本写网页，颜色代码全靠手工一个个敲进去。每次只是想看一眼某个颜色到底"
        "是什么样子，都得打开一个庞大的网页编辑器，等它慢吞吞地启动，实在麻烦。于是我就用以前学"
        "过的一门语言，自己动手写了这个小工具。做得并不完美，但是够用了。");
    lines << QString();
    lines << QStringLiteral("2、使用方法：");
    lines << QStringLiteral(
        "很简单，您直接拖动各个滚动条，就可以改变相应的红绿蓝颜色值，同时就可以看到效果了。将鼠标"
        "指向每个文本框或按钮上时，会出现相应的提示。窗体底部有当前颜色代码显示，分RGB和16进制两"
        "种，您自己选择。");
    lines << QString();
    lines << QStringLiteral(
        "3、增加了一个鼠标取色功能，您只要启动“鼠标取色”后移动鼠标就会显示鼠标位置的屏幕颜色；按下"
        "Alt+Shift+S组合键则将当前鼠标位置的屏幕颜色保存在主窗体下端的颜色盒中。");
    lines << QString();
    lines << QStringLiteral(
        "4、小技巧：单击效果预览区域时，会将颜色代码标准化，同时显示在效果预览区"
        "底部。您可以复制相关的颜色代码。");
    lines << QString();
    lines << QStringLiteral("5、本软件存在的不足之处：");
    lines << QStringLiteral(
        "编程只是我在功课和毕业论文之余的一点业余爱好，所以软件里难免会有错误，还请多多包涵。最近"
        "一段时间我给它加上了直接输入十六进制颜色值和鼠标取色这两项功能。我自己最不满意的是窗体的"
        "外观，有时间的话也许会再改进。如果您发现了其他不足之处，欢迎告诉我。");
    lines << QString();
    lines << QString();

    lines << boxBorder();
    lines << boxRow(QStringLiteral("Brenvik软件工作室") + kIdeographicSpace +
                    QStringLiteral("Brenvik软件"));
    lines << boxRow(QStringLiteral("主页：") +
                    toFullWidth(QStringLiteral("http://www.brenvik.example")));
    lines << boxRow(QStringLiteral("邮件：") +
                    toFullWidth(QStringLiteral("studio@brenvik.example")));
    lines << boxRow(QStringLiteral("即时通讯：") +
                    toFullWidth(QStringLiteral("brenvik@chat.example")));
    lines << boxRow(spaces(kHelpBoxRowWidth));
    lines << boxRow(spaces(22) + QStringLiteral("林墨舟"));
    lines << boxRow(spaces(11) + toFullWidth(QStringLiteral("2006")) +
                    QStringLiteral("年春于澜溪"));
    lines << boxBorder();

    const QString crlf = QStringLiteral("\r\n");
    return lines.join(crlf) + crlf;
}

} // namespace tintavo
