#include "main_window_fixture.h"

#include "color/channel_codecs.h"
#include "colorbox/color_box_model.h"
#include "common/qt_color.h"

using namespace tintavo;

class ColorEditingTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;

    QLineEdit *codeLine() const { return f.control("txtColorInfo"); }

    // What one channel's editors show: "decimal|hex|slider".
    QString channelShows(const QString &channel) const
    {
        return f.control(channel + "_dec")->text() + u'|' + f.control(channel + "_hex")->text() +
               u'|' + QString::number(f.control<QSlider>(channel + "_slide")->value());
    }

    // One step of a user: "box=text" types over a box, "box+=text" types on,
    // "slider=value" drags, "button=#RRGGBB" (or "Alt+key=") answers the
    // colour dialog a button (or an access key) opens, empty for cancel;
    // "command=#RRGGBB" chooses a swatch menu command on a swatch of that
    // colour, and "effect_text" clicks into the preview.
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
    void cleanup() { f.reset(); }

    // Steps (see run()), then what one channel's editors show
    // ("channel=decimal|hex|slider"), the errors shown (one letter each: D
    // a hex digit, L a hex length, N digits only, T too large) and the
    // preview's text and background colours (none: as at the start).
    void everyWayOfChangingAColour_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QString>("errors");
        QTest::addColumn<QString>("colors");
        QTest::newRow("at start") << ""
                                  << "bg_red=205|CD|205"
                                  << ""
                                  << "";
        for (const char *pair : {"fg", "bg"}) {
            for (int ch = 0; ch < 3; ++ch) {
                const QString channel = pair + QStringList{"_red", "_green", "_blue"}[ch];
                const QString colors =
                    QString("#000000 #CD890F").replace((pair[0] == 'f' ? 1 : 9) + 2 * ch, 2, "64");
                for (const auto &[kind, input] :
                     {std::pair{"_dec", "100"}, {"_hex", "64"}, {"_slide", "100"}})
                    QTest::newRow(qPrintable(channel + kind))
                        << channel + kind + u'=' + input << channel + "=100|64|100"
                        << "" << colors;
            }
        }
        // A box that had the focus last hears of every load into its channel.
        const QString typed = "fg_red_dec=0 bg_red_dec=205 ";
        const QString rows[][5] = {
            {"hex typing goes on after the caret", "fg_red_hex=a fg_red_hex+=b",
             "fg_red=171|AB|171", "", "#AB0000 #CD890F"},
            {"hex g is refused", "bg_blue_hex=g", "bg_blue=15|g|15", "D", ""},
            {"dec 300", "bg_green_dec=30 bg_green_dec+=0", "bg_green=255|FF|255", "T",
             "#000000 #CDFF0F"},
            {"dec 1x", "fg_blue_dec=1 fg_blue_dec+=x", "fg_blue=0|00|0", "N", ""},
            {"dec 007 stays as typed", "fg_green_dec=007", "fg_green=007|07|7", "",
             "#000700 #CD890F"},
            {"dec emptied", "bg_red_dec=1 bg_red_dec+=\b", "bg_red=|00|0", "", "#000000 #00890F"},
            {"foreground dialog", typed + "show_fg_color=#AA0000", "fg_red=170|AA|170", "",
             "#AA0000 #CD890F"},
            {"background dialog", typed + "show_bg_color=#123456", "bg_blue=86|56|86", "",
             "#000000 #123456"},
            {"Alt+G", typed + "Alt+G=#0000FF", "fg_blue=255|FF|255", "", "#0000FF #CD890F"},
            {"Alt+B", typed + "Alt+B=#00FF00", "bg_green=255|FF|255", "", "#000000 #00FF00"},
            {"dialog cancelled after a choice",
             "show_bg_color=#010203 show_bg_color=", "bg_red=1|01|1", "", "#000000 #010203"},
            {"set as foreground", typed + "setFg=#00AA55", "fg_green=170|AA|170", "",
             "#00AA55 #CD890F"},
            {"set as background", typed + "setBg=#FFFFFF", "bg_red=255|FF|255", "",
             "#000000 #FFFFFF"},
            {"click keeps canonical codes", "bg_red_dec=205 effect_text", "bg_red=205|CD|205", "",
             ""},
            {"click pads a lone hex digit", "fg_red_hex=F bg_red_dec=205 effect_text",
             "fg_red=15|0F|15", "", "#0F0000 #CD890F"},
            {"click fills an empty hex box", "bg_green_hex=1 bg_green_hex+=\b effect_text",
             "bg_green=0|00|0", "", "#000000 #CD000F"},
            {"click drops leading zeros", "fg_red_dec=007 effect_text", "fg_red=7|07|7", "",
             "#070000 #CD890F"},
            {"click fills an empty decimal box", "bg_blue_dec=1 bg_blue_dec+=\b effect_text",
             "bg_blue=0|00|0", "", "#000000 #CD8900"},
            {"click reports a long hex text once", "bg_red_hex=FF bg_red_hex+=F effect_text",
             "bg_red=0|FFF|0", "LL", "#000000 #00890F"},
            {"click after a refused hex text", "bg_blue_hex=g effect_text", "bg_blue=0|0g|0", "DD",
             "#000000 #CD8900"},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << r[4];
    }

    void everyWayOfChangingAColour()
    {
        QFETCH(QString, steps);
        QFETCH(QString, shows);
        QFETCH(QString, errors);
        QFETCH(QString, colors);
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts))
            run(step);
        QCOMPARE(channelShows(shows.section(u'=', 0, 0)), shows.section(u'=', 1));
        QStringList expected;
        for (QChar m : errors)
            expected << QHash<QChar, QString>{{u'D', messages::kHexDigit},
                                              {u'L', messages::kHexLength},
                                              {u'N', messages::kDigitsOnly},
                                              {u'T', messages::kTooLarge}}[m];
        QCOMPARE(f.messages.shown, expected);
        colors = colors.isEmpty() ? "#000000 #CD890F" : colors;
        const QImage image = f.previewImage();
        QCOMPARE(test::dominantColor(image), QColor(colors.section(u' ', 1)));
        QVERIFY(test::showsColor(image, QColor(colors.section(u' ', 0, 0))));
    }

    // Page Up moves a slider by its large change, an arrow key by one.
    void pageKeysMoveByTheLargeChange_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<int>("page");
        for (const char *name : {"bg_red", "bg_green", "bg_blue", "fg_red", "fg_green", "fg_blue"})
            QTest::newRow(name) << name << (QByteArray(name) == "bg_red" ? 10 : 5);
    }

    void pageKeysMoveByTheLargeChange()
    {
        QFETCH(QString, channel);
        QFETCH(int, page);
        f.dragSlider(channel + "_slide", 100);
        QTest::keyClick(f.control<QSlider>(channel + "_slide"), Qt::Key_PageUp);
        QTest::keyClick(f.control<QSlider>(channel + "_slide"), Qt::Key_Right);
        const int value = 100 + page + 1;
        QCOMPARE(channelShows(channel), QStringLiteral("%1|%2|%1").arg(value).arg(hexByte(value)));
    }

    // Dark blue on light orange; a selection survives while nothing changes.
    void codeLineAtStart()
    {
        QCOMPARE(codeLine()->text(),
                 QStringLiteral("[当前颜色设置]   前景色RGB(0，0，0)[#000000]             "
                                "背景色：RGB(205，137，15) [#CD890F]"));
        const QImage image = f.onScreen(codeLine());
        QCOMPARE(test::dominantColor(image), QColor(255, 224, 192));
        QVERIFY(test::showsColor(image, QColor(0, 0, 192)));
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
