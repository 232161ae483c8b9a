#include "colorbox/color_box_model.h"
#include "colorbox/swatch_view.h"
#include "main_window_fixture.h"

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class MainWindowTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    ColorBoxModel &box() const { return f.form->colorBox(); }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    // Client sizes in twips, and the controls' rectangles in twips that follow:
    // the preview takes the growth, and what cannot shrink keeps its size.
    void layoutFollowsTheWindowSize_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("columns");
        QTest::newRow("design") << QSize(11460, 7170)
                                << "Frame1 120 60 11235 4125;effect_text 90 195 10995 3765;"
                                   "fg_frame 105 4245 7095 885;bg_frame 105 5190 7110 900;"
                                   "Frame4 7455 4245 3900 1755;Frame3 105 6150 11235 945;"
                                   "txtColorInfo 90 3765 10755 315"
                                << 46;
        QTest::newRow("grown") << QSize(11460 + 1005, 7170 + 600)
                               << "Frame1 120 60 12240 4725;effect_text 90 195 12000 4365;"
                                  "fg_frame 105 4845 7095 885;Frame4 7455 4845 3900 1755;"
                                  "Frame3 105 6750 12240 945;txtColorInfo 90 4365 11760 315"
                               << 50;
        QTest::newRow("too low") << QSize(11460, 3000)
                                 << "Frame1 120 60 11235 4125;fg_frame 105 4245 7095 885" << 46;
    }

    void layoutFollowsTheWindowSize()
    {
        QFETCH(QSize, client);
        QFETCH(QString, expected);
        QFETCH(int, columns);
        f.form->resize(twipsToPixels(client.width()), twipsToPixels(client.height()));
        for (const QString &item : expected.split(u';')) {
            const QStringList v = item.split(u' ');
            QCOMPARE(f.control<QWidget>(v[0])->geometry(),
                     toPixels({v[1].toInt(), v[2].toInt(), v[3].toInt(), v[4].toInt()}));
        }
        // The first swatch of the second row.
        QCOMPARE(f.form->findChild<SwatchView *>()->swatchRect(columns).topLeft(), QPoint(8, 29));
    }

    void previewHasTheFocusFirstAndTabFollowsTheIndexes()
    {
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("effect_text"));
        QStringList chain;
        int previous = -1;
        QWidget *w = f.control<QWidget>("effect_text");
        for (int i = 0; i < 60; ++i, w = w->nextInFocusChain()) {
            const QVariant index = w->property("tabIndex");
            if (!index.isValid() || w->focusPolicy() == Qt::NoFocus)
                continue;
            if (index.toInt() < previous)
                break;
            chain << w->objectName();
            previous = index.toInt();
        }
        // Focusable controls in the order of their design tab indexes.
        const QStringList expected = {
            "effect_text",   "fg_blue_slide",  "fg_green_slide", "fg_red_slide", "fg_blue_hex",
            "fg_blue_dec",   "fg_green_hex",   "fg_green_dec",   "fg_red_hex",   "fg_red_dec",
            "exit_me",       "show_fg_color",  "show_bg_color",  "about_me",     "show_help",
            "bg_blue_slide", "bg_green_slide", "bg_red_slide",   "bg_blue_hex",  "bg_blue_dec",
            "bg_green_hex",  "bg_green_dec",   "bg_red_hex",     "bg_red_dec",   "cmdMouse",
            "txtColorInfo"};
        QCOMPARE(chain, expected);
    }

    void randomFill_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("answered no") << false;
        QTest::newRow("answered yes") << true;
    }

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
        // The next capture slot stays where the press put it.
        f.form->close();
        QVERIFY(f.readIni().contains("StartPoint=1\r\n"));
    }

    void pressingASwatchWithAnyButtonOpensTheMenu_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }

    void pressingASwatchWithAnyButtonOpensTheMenu()
    {
        QFETCH(int, button);
        QCOMPARE(f.pressSwatch(5, QString(), Qt::MouseButton(button)),
                 (QStringList{"设为背景色", "设为前景色", "-", "保存背景色", "保存前景色", "-",
                              "复制颜色代码", "导出颜色盒…", "导入颜色盒…"}));
        // The pressed swatch is the next capture slot.
        f.form->close();
        QVERIFY(f.readIni().contains("StartPoint=5\r\n"));
    }

    void menuMovesColoursBetweenSwatchAndPair()
    {
        box().setColor(1, RGB(10, 20, 30));
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
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << "bg_green_dec"
                                << "2" << QColor(1, 2, 3);
        QTest::newRow("Ctrl+F") << int(Qt::Key_F) << "fg_green_dec"
                                << "2" << QColor(1, 2, 3);
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << "bg_green_dec"
                                << "137" << QColor(205, 137, 15);
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << "fg_green_dec"
                                << "0" << QColor(0, 0, 0);
    }

    void menuKeysWorkWithTheMenuClosed()
    {
        QFETCH(int, key);
        QFETCH(QString, box);
        QFETCH(QString, shows);
        QFETCH(QColor, swatch);
        this->box().setColor(0, RGB(1, 2, 3));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(f.control(box)->text(), shows);
        QCOMPARE(f.swatchShows(0), swatch);
    }

    void closingEndsTheProgram()
    {
        f.form->close();
        QCOMPARE(f.programEnded, 1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
