#include "main_window_fixture.h"
#include "pixels.h"

#include "color/channel_codecs.h"
#include "colorbox/color_box_model.h"
#include "common/qt_color.h"

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class PreviewTest : public QObject
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

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    // Every way of changing a colour reaches the preview's pixels: the text
    // in the foreground colour on the background colour.
    void previewShowsTheColours_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        const QColor black(0, 0, 0), start(205, 137, 15);
        QTest::newRow("at start") << ""
                                  << "" << black << start;
        const char *const channels[] = {"red", "green", "blue"};
        for (int pair = 0; pair < 2; ++pair) {
            for (int ch = 0; ch < 3; ++ch) {
                QColor text = black, background = start;
                QColor &changed = pair == 0 ? text : background;
                changed.setRgb(ch == 0 ? 100 : changed.red(), ch == 1 ? 100 : changed.green(),
                               ch == 2 ? 100 : changed.blue());
                for (const auto &[kind, input] :
                     {std::pair{"dec", "100"}, {"hex", "64"}, {"slide", "100"}}) {
                    const QString name =
                        QStringLiteral("%1_%2_%3").arg(pair == 0 ? "fg" : "bg", channels[ch], kind);
                    QTest::newRow(qPrintable(name)) << name << input << text << background;
                }
            }
        }
        QTest::newRow("show_fg_color") << "show_fg_color"
                                       << "#AA0000" << QColor(0xAA, 0, 0) << start;
        QTest::newRow("show_bg_color") << "show_bg_color"
                                       << "#123456" << black << QColor(0x12, 0x34, 0x56);
        QTest::newRow("setFg") << "setFg"
                               << "#00AA55" << QColor(0, 0xAA, 0x55) << start;
        QTest::newRow("click after a refused hex text") << "effect_text"
                                                        << "g" << black << QColor(205, 137, 0);
        QTest::newRow("setBg") << "setBg"
                               << "#FFFFFF" << black << QColor(255, 255, 255);
    }

    void previewShowsTheColours()
    {
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        if (control.endsWith(u"_dec") || control.endsWith(u"_hex")) {
            f.typeOver(control, input);
        } else if (control.endsWith(u"_slide")) {
            f.dragSlider(control, input.toInt());
        } else if (!control.isEmpty()) {
            // A box that had the focus last hears of every load into its channel.
            f.typeOver("fg_red_dec", QStringLiteral("0"));
            f.typeOver("bg_red_dec", QStringLiteral("205"));
        }
        if (control == u"effect_text") {
            f.typeOver("bg_blue_hex", input);
            QTest::mouseClick(f.control<QPlainTextEdit>(control)->viewport(), Qt::LeftButton, {},
                              QPoint(20, 20));
        } else if (control.startsWith(u"show_")) {
            f.colorChooser.answers = {fromQColor(QColor(input))};
            f.press(control);
        } else if (control.startsWith(u"set")) {
            f.form->colorBox().setColor(3, fromQColor(QColor(input)));
            f.pressSwatch(3, control);
        }
        const QImage image = f.previewImage();
        QCOMPARE(test::dominantColor(image), background);
        QVERIFY(test::showsColor(image, text));
    }

    void codeLineAtStart()
    {
        QCOMPARE(codeLine()->text(),
                 QStringLiteral("[当前颜色设置]   前景色RGB(0，0，0)[#000000]             "
                                "背景色：RGB(205，137，15) [#CD890F]"));
        QVERIFY(codeLine()->font().bold());
        const QImage image = codeLine()->grab().toImage();
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

    // A click into the preview normalises the codes of every channel.
    void clickNormalisesTheCodes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("more");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("canonical codes stay") << "bg_red_dec"
                                              << "205"
                                              << ""
                                              << "205|CD|205" << QStringList();
        QTest::newRow("lone hex digit padded") << "fg_red_hex"
                                               << "F"
                                               << ""
                                               << "15|0F|15" << QStringList();
        QTest::newRow("empty hex box") << "bg_green_hex"
                                       << "1"
                                       << "\b"
                                       << "0|00|0" << QStringList();
        QTest::newRow("leading zeros") << "fg_red_dec"
                                       << "007"
                                       << ""
                                       << "7|07|7" << QStringList();
        QTest::newRow("empty decimal box") << "bg_blue_dec"
                                           << "1"
                                           << "\b"
                                           << "0|00|0" << QStringList();
        QTest::newRow("long hex reported once") << "bg_red_hex"
                                                << "FF"
                                                << "F"
                                                << "0|FFF|0" << QStringList{messages::kHexLength};
    }

    void clickNormalisesTheCodes()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, more);
        QFETCH(QString, shows);
        QFETCH(QStringList, messages);
        f.typeOver(box, typed);
        QTest::keyClicks(f.control(box), more);
        f.messages.shown.clear();
        QTest::mouseClick(f.control<QPlainTextEdit>("effect_text")->viewport(), Qt::LeftButton, {},
                          QPoint(20, 20));
        QCOMPARE(channelShows(box.section(u'_', 0, 1)), shows);
        QCOMPARE(f.messages.shown, messages);
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
