#include "main_window_fixture.h"
#include "pixels.h"

#include "color/channel_codecs.h"
#include "colorbox/color_box_model.h"
#include "common/qt_color.h"

using namespace tintavo;
using tintavo::test::MainWindowFixture;

namespace {

// One row: what the user does, as steps "control=value" apart by spaces
// (type over a box, type more with "+=", drag a slider, answer a colour
// button's dialog or an access key's, choose a swatch menu command on a swatch
// of that colour, click into the preview); then what one channel's editors
// show ("channel=decimal|hex|slider"), the messages shown, and the preview's
// text and background colours.
void row(const char *name, const char *steps, const char *shows, const QStringList &messages,
         const char *colors)
{
    QTest::newRow(name) << QString::fromUtf8(steps) << QString::fromUtf8(shows) << messages
                        << QString::fromUtf8(colors);
}

const QStringList none;
const QStringList tooLarge{messages::kTooLarge};

} // namespace

class ColorEditingTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    QLineEdit *codeLine() const { return f.control("txtColorInfo"); }

    QString channelShows(const QString &channel) const
    {
        return f.control(channel + QStringLiteral("_dec"))->text() + u'|' +
               f.control(channel + QStringLiteral("_hex"))->text() + u'|' +
               QString::number(f.control<QSlider>(channel + QStringLiteral("_slide"))->value());
    }

    void run(const QString &step)
    {
        const QString control = step.section(u'=', 0, 0), value = step.section(u'=', 1);
        if (control.endsWith(u'+')) {
            QTest::keyClicks(f.control(control.chopped(1)), value);
        } else if (control.endsWith(u"_dec") || control.endsWith(u"_hex")) {
            f.typeOver(control, value);
        } else if (control.endsWith(u"_slide")) {
            f.dragSlider(control, value.toInt());
        } else if (control.startsWith(u"show_") || control.startsWith(u"Alt+")) {
            f.colorChooser.answers = {value.isEmpty() ? std::nullopt
                                                      : std::optional(fromQColor(QColor(value)))};
            if (control.startsWith(u"show_"))
                f.press(control);
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(control.back().unicode()),
                                Qt::AltModifier);
            QTRY_VERIFY(f.colorChooser.answers.empty());
        } else if (control == u"effect_text") {
            QTest::mouseClick(f.control<QPlainTextEdit>(control)->viewport(), Qt::LeftButton, {},
                              QPoint(20, 20));
        } else {
            f.form->colorBox().setColor(3, fromQColor(QColor(value)));
            f.pressSwatch(3, control);
        }
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    void everyWayOfChangingAColour_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("colors");
        const QStringList hexDigit{messages::kHexDigit}, hexLength{messages::kHexLength};
        row("at start", "", "bg_red=205|CD|205", none, "#000000 #CD890F");
        const char *const channels[] = {"red", "green", "blue"};
        for (int pair = 0; pair < 2; ++pair) {
            for (int ch = 0; ch < 3; ++ch) {
                QColor text(0, 0, 0), back(205, 137, 15);
                QColor &changed = pair == 0 ? text : back;
                changed.setRgb(ch == 0 ? 100 : changed.red(), ch == 1 ? 100 : changed.green(),
                               ch == 2 ? 100 : changed.blue());
                const QString channel =
                    QStringLiteral("%1_%2").arg(pair ? "bg" : "fg", channels[ch]);
                const QString colors = text.name().toUpper() + u' ' + back.name().toUpper();
                for (const auto &[kind, input] :
                     {std::pair{"dec", "100"}, {"hex", "64"}, {"slide", "100"}})
                    QTest::newRow(qPrintable(channel + u'_' + kind))
                        << channel + u'_' + kind + u'=' + input << channel + "=100|64|100" << none
                        << colors;
            }
        }
        row("hex a", "fg_red_hex=a", "fg_red=10|A|10", none, "#0A0000 #CD890F");
        row("hex typing goes on after the caret", "fg_red_hex=a fg_red_hex+=b", "fg_red=171|AB|171",
            none, "#AB0000 #CD890F");
        row("hex lone F stays as typed", "fg_green_hex=F", "fg_green=15|F|15", none,
            "#000F00 #CD890F");
        row("hex g is refused", "bg_blue_hex=g", "bg_blue=15|g|15", hexDigit, "#000000 #CD890F");
        row("hex three digits", "fg_green_hex=ff fg_green_hex+=f", "fg_green=0|FFF|0", hexLength,
            "#000000 #CD890F");
        row("hex emptied", "fg_green_hex=1 fg_green_hex+=\b", "fg_green=0||0", none,
            "#000000 #CD890F");
        row("dec 300", "bg_green_dec=30 bg_green_dec+=0", "bg_green=255|FF|255", tooLarge,
            "#000000 #CDFF0F");
        row("dec 1x", "fg_blue_dec=1 fg_blue_dec+=x", "fg_blue=0|00|0", {messages::kDigitsOnly},
            "#000000 #CD890F");
        row("dec 007 stays as typed", "fg_green_dec=007", "fg_green=007|07|7", none,
            "#000700 #CD890F");
        row("dec emptied", "bg_red_dec=1 bg_red_dec+=\b", "bg_red=|00|0", none, "#000000 #00890F");
        // A box that had the focus last hears of every load into its channel.
        const QString typed = QStringLiteral("fg_red_dec=0 bg_red_dec=205 ");
        row("foreground dialog", qPrintable(typed + "show_fg_color=#AA0000"), "fg_red=170|AA|170",
            none, "#AA0000 #CD890F");
        row("background dialog", qPrintable(typed + "show_bg_color=#123456"), "bg_blue=86|56|86",
            none, "#000000 #123456");
        row("Alt+G", qPrintable(typed + "Alt+G=#0000FF"), "fg_blue=255|FF|255", none,
            "#0000FF #CD890F");
        row("Alt+B", qPrintable(typed + "Alt+B=#00FF00"), "bg_green=255|FF|255", none,
            "#000000 #00FF00");
        row("dialog cancelled after a choice",
            "show_bg_color=#010203 show_bg_color=", "bg_red=1|01|1", none, "#000000 #010203");
        row("set as foreground", qPrintable(typed + "setFg=#00AA55"), "fg_green=170|AA|170", none,
            "#00AA55 #CD890F");
        row("set as background", qPrintable(typed + "setBg=#FFFFFF"), "bg_red=255|FF|255", none,
            "#000000 #FFFFFF");
        row("click keeps canonical codes", "bg_red_dec=205 effect_text", "bg_red=205|CD|205", none,
            "#000000 #CD890F");
        row("click pads a lone hex digit", "fg_red_hex=F bg_red_dec=205 effect_text",
            "fg_red=15|0F|15", none, "#0F0000 #CD890F");
        row("click fills an empty hex box", "bg_green_hex=1 bg_green_hex+=\b effect_text",
            "bg_green=0|00|0", none, "#000000 #CD000F");
        row("click drops leading zeros", "fg_red_dec=007 effect_text", "fg_red=7|07|7", none,
            "#070000 #CD890F");
        row("click fills an empty decimal box", "bg_blue_dec=1 bg_blue_dec+=\b effect_text",
            "bg_blue=0|00|0", none, "#000000 #CD8900");
        row("click reports a long hex text once", "bg_red_hex=FF bg_red_hex+=F effect_text",
            "bg_red=0|FFF|0", {messages::kHexLength, messages::kHexLength}, "#000000 #00890F");
        row("click after a refused hex text", "bg_blue_hex=g effect_text", "bg_blue=0|0g|0",
            {messages::kHexDigit, messages::kHexDigit}, "#000000 #CD8900");
    }

    void everyWayOfChangingAColour()
    {
        QFETCH(QString, steps);
        QFETCH(QString, shows);
        QFETCH(QStringList, messages);
        QFETCH(QString, colors);
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts))
            run(step);
        QCOMPARE(channelShows(shows.section(u'=', 0, 0)), shows.section(u'=', 1));
        QCOMPARE(f.messages.shown, messages);
        const QImage image = f.previewImage();
        QCOMPARE(test::dominantColor(image), QColor(colors.section(u' ', 1)));
        QVERIFY(test::showsColor(image, QColor(colors.section(u' ', 0, 0))));
    }

    void pageKeysMoveByTheLargeChange_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<int>("page");
        QTest::newRow("bg red pages by ten") << "bg_red" << 10;
        for (const char *name : {"bg_green", "bg_blue", "fg_red", "fg_green", "fg_blue"})
            QTest::newRow(name) << name << 5;
    }

    void pageKeysMoveByTheLargeChange()
    {
        QFETCH(QString, channel);
        QFETCH(int, page);
        auto *slider = f.control<QSlider>(channel + QStringLiteral("_slide"));
        f.dragSlider(channel + QStringLiteral("_slide"), 100);
        QTest::keyClick(slider, Qt::Key_PageUp);
        QTest::keyClick(slider, Qt::Key_Right);
        const int value = 100 + page + 1;
        QCOMPARE(channelShows(channel), QStringLiteral("%1|%2|%1").arg(value).arg(hexByte(value)));
    }

    void codeLineAtStart()
    {
        QCOMPARE(codeLine()->text(),
                 QStringLiteral("[当前颜色设置]   前景色RGB(0，0，0)[#000000]             "
                                "背景色：RGB(205，137，15) [#CD890F]"));
        QVERIFY(codeLine()->font().bold());
        const QImage image = f.onScreen(codeLine());
        QCOMPARE(test::dominantColor(image), QColor(255, 224, 192));
        QVERIFY(test::showsColor(image, QColor(0, 0, 192)));
        // A selection survives while nothing changes.
        QTest::qWait(300); // the window settles, as before a user's selection
        codeLine()->setSelection(14, 10);
        QTest::qWait(300);
        QCOMPARE(codeLine()->selectedText(), QStringLiteral("RGB(0，0，0)"));
    }

    // The line shows the boxes as they stand at every moment, even while an
    // error message is up.
    void codeLineFollowsTheBoxes()
    {
        QString whileMessage;
        f.messages.whileShown = [&] { whileMessage = codeLine()->text(); };
        f.typeOver("bg_green_dec", QStringLiteral("300"));
        QVERIFY(whileMessage.endsWith(QStringLiteral("背景色：RGB(205，300，15) [#CD1E0F]")));
        QVERIFY(codeLine()->text().endsWith(QStringLiteral("背景色：RGB(205，255，15) [#CDFF0F]")));
        f.typeOver("fg_red_hex", QStringLiteral("F"));
        QVERIFY(codeLine()->text().contains(QStringLiteral("前景色RGB(15，0，0)[#F0000]")));
    }
};

QTEST_MAIN(ColorEditingTest)
#include "color_editing_test.moc"
