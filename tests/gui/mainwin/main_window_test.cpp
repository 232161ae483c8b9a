#include "colorbox/color_box_model.h"
#include "common/twips.h"
#include "main_window_fixture.h"

using namespace tintavo;

class MainWindowTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.reset(); }

    // The preview has the focus first (and takes Tab as text); from the next
    // control on, Tab goes round in the order of the design tab indexes.
    void tabOrder()
    {
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("effect_text"));
        f.control<QWidget>("fg_blue_slide")->setFocus();
        QStringList chain{"fg_blue_slide"};
        while (chain.size() < 40 && chain.back() != u"effect_text") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            chain << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(chain,
                 (QStringList{"fg_blue_slide", "fg_green_slide", "fg_red_slide",  "fg_blue_hex",
                              "fg_blue_dec",   "fg_green_hex",   "fg_green_dec",  "fg_red_hex",
                              "fg_red_dec",    "exit_me",        "show_fg_color", "show_bg_color",
                              "about_me",      "show_help",      "bg_blue_slide", "bg_green_slide",
                              "bg_red_slide",  "bg_blue_hex",    "bg_blue_dec",   "bg_green_hex",
                              "bg_green_dec",  "bg_red_hex",     "bg_red_dec",    "cmdMouse",
                              "txtColorInfo",  "effect_text"}));
    }

    // A grown window: the preview takes the growth, what cannot grow keeps its
    // size, and the colour box gets more columns (rectangles in twips).
    void layoutFollowsTheWindowSize()
    {
        f.form->resize(twipsToPixels(11460 + 1005), twipsToPixels(7170 + 600));
        for (const char *item : {"Frame1 120 60 12240 4725", "effect_text 90 195 12000 4365",
                                 "fg_frame 105 4845 7095 885", "Frame4 7455 4845 3900 1755",
                                 "Frame3 105 6750 12240 945", "txtColorInfo 90 4365 11760 315"}) {
            const QStringList v = QString::fromLatin1(item).split(u' ');
            QCOMPARE(f.control<QWidget>(v[0])->geometry(),
                     toPixels({v[1].toInt(), v[2].toInt(), v[3].toInt(), v[4].toInt()}));
        }
        QCOMPARE(f.form->findChild<SwatchView *>()->swatchRect(50).topLeft(), QPoint(8, 29));
    }

    void randomFill_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("answered no") << false;
        QTest::newRow("answered yes") << true;
    }

    // Asked first; the swatches change only on a yes, and the next capture
    // slot stays where the last press put it.
    void randomFill()
    {
        QFETCH(bool, yes);
        f.pressSwatch(1);
        const QImage before = f.onScreen(f.form->findChild<SwatchView *>());
        f.questions.answer = yes;
        f.press("show_help");
        QCOMPARE(f.questions.asked,
                 QStringList{QStringLiteral("Tintavo|注意：这个操作将会覆盖掉您此前存储的颜色！\n"
                                            "您确信要进行此操作？")});
        QCOMPARE(f.onScreen(f.form->findChild<SwatchView *>()) != before, yes);
        QVERIFY(f.savedAtExit().contains("StartPoint=1\r\n"));
    }

    void anyButtonOpensTheSwatchMenu_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }

    // The menu as designed, its items named, with their keys; the pressed
    // swatch becomes the next capture slot.
    void anyButtonOpensTheSwatchMenu()
    {
        QFETCH(int, button);
        QCOMPARE(f.pressSwatch(5, QString(), Qt::MouseButton(button)),
                 (QStringList{"setBg|设为背景色|Ctrl+B", "setFg|设为前景色|Ctrl+F", "fgff||",
                              "menuSaveBg|保存背景色|Ctrl+S", "menuSaveFg|保存前景色|Ctrl+D", "||",
                              "copySwatchCode|复制颜色代码|", "exportColorBox|导出颜色盒…|",
                              "importColorBox|导入颜色盒…|"}));
        QVERIFY(f.savedAtExit().contains("StartPoint=5\r\n"));
    }

    void menuMovesColoursBetweenSwatchAndPair()
    {
        f.form->colorBox().setColor(1, RGB(10, 20, 30));
        f.pressSwatch(1, QStringLiteral("setFg"));
        QCOMPARE(f.control("fg_blue_dec")->text(), QStringLiteral("30"));
        QCOMPARE(f.control("bg_blue_dec")->text(), QStringLiteral("15"));
        QCOMPARE(f.swatchShows(1), QColor(10, 20, 30));
        // Save the background into the swatch, then load it as the foreground.
        f.pressSwatch(1, QStringLiteral("menuSaveBg"));
        QCOMPARE(f.swatchShows(1), QColor(205, 137, 15));
        f.pressSwatch(1, QStringLiteral("setFg"));
        QCOMPARE(f.control("fg_red_hex")->text(), QStringLiteral("CD"));
        QVERIFY(
            f.control("txtColorInfo")->text().contains(QStringLiteral("前景色RGB(205，137，15)")));
    }

    // The menu's keys work with the menu closed, on swatch 0 before any press.
    void menuKeysWorkWithTheMenuClosed_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<QColor>("swatch");
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << "bg_green_dec" << QString("2")
                                << QColor(1, 2, 3);
        QTest::newRow("Ctrl+F") << int(Qt::Key_F) << "fg_green_dec" << QString("2")
                                << QColor(1, 2, 3);
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << "bg_green_dec" << QString("137")
                                << QColor(205, 137, 15);
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << "fg_green_dec" << QString("0")
                                << QColor(0, 0, 0);
    }

    void menuKeysWorkWithTheMenuClosed()
    {
        QFETCH(int, key);
        QFETCH(QString, box);
        f.form->colorBox().setColor(0, RGB(1, 2, 3));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
        QTEST(f.control(box)->text(), "shows");
        QTEST(f.swatchShows(0), "swatch");
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
