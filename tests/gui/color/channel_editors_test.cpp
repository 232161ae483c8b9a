#include "common/scroll_slider.h"
#include "main_window_fixture.h"

#include "color/channel_codecs.h"

#include <QSignalSpy>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class ChannelEditorsTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    ScrollSlider *slider(const char *name) const { return f.control<ScrollSlider>(name); }
    QString text(const char *name) const { return f.control(name)->text(); }
    int channelOf(ColorValue color, int shift) const { return (color >> shift) & 0xFF; }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    void typingInHexBoxLoadsTheChannel()
    {
        f.typeOver("fg_red_hex", QStringLiteral("a"));
        QLineEdit *hex = f.control("fg_red_hex");
        QCOMPARE(hex->text(), QStringLiteral("A"));
        QCOMPARE(hex->cursorPosition(), 1);
        QVERIFY(!hex->hasSelectedText());
        QCOMPARE(text("fg_red_dec"), QStringLiteral("10"));
        QCOMPARE(slider("fg_red_slide")->value(), 10);
        QCOMPARE(f.form->colorEditing().foreColor(), RGB(10, 0, 0));
        QVERIFY(f.messages.shown.isEmpty());

        // Typing goes on after the replaced text.
        QTest::keyClicks(hex, QStringLiteral("b"));
        QCOMPARE(hex->text(), QStringLiteral("AB"));
        QCOMPARE(text("fg_red_dec"), QStringLiteral("171"));
    }

    void decimalOverRangeIsCappedWithOneMessage()
    {
        f.typeOver("bg_green_dec", QStringLiteral("3"));
        QCOMPARE(slider("bg_green_slide")->value(), 3);
        QTest::keyClicks(f.control("bg_green_dec"), QStringLiteral("0"));
        QCOMPARE(slider("bg_green_slide")->value(), 30);
        QCOMPARE(text("bg_green_hex"), QStringLiteral("1E"));
        QVERIFY(f.messages.shown.isEmpty());

        QTest::keyClicks(f.control("bg_green_dec"), QStringLiteral("0"));
        QCOMPARE(f.messages.shown, QStringList{messages::kTooLarge});
        QCOMPARE(text("bg_green_dec"), QStringLiteral("255"));
        QCOMPARE(text("bg_green_hex"), QStringLiteral("FF"));
        QCOMPARE(slider("bg_green_slide")->value(), 255);
        QCOMPARE(channelOf(f.form->colorEditing().backColor(), 8), 255);
    }

    void decimalWithLetterResetsToZero()
    {
        f.typeOver("fg_blue_dec", QStringLiteral("1"));
        QCOMPARE(slider("fg_blue_slide")->value(), 1);
        QTest::keyClicks(f.control("fg_blue_dec"), QStringLiteral("x"));
        QCOMPARE(f.messages.shown, QStringList{messages::kDigitsOnly});
        QCOMPARE(text("fg_blue_dec"), QStringLiteral("0"));
        QCOMPARE(text("fg_blue_hex"), QStringLiteral("00"));
        QCOMPARE(slider("fg_blue_slide")->value(), 0);
    }

    void emptyDecimalBoxGivesZeroWithoutMessage()
    {
        f.typeOver("bg_red_dec", QString());
        QTest::keyClick(f.control("bg_red_dec"), Qt::Key_Backspace);
        QCOMPARE(text("bg_red_dec"), QString());
        QCOMPARE(text("bg_red_hex"), QStringLiteral("00"));
        QCOMPARE(slider("bg_red_slide")->value(), 0);
        QCOMPARE(f.form->colorEditing().backColor(), RGB(0, 137, 15));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void invalidHexDigitIsReportedAndLeftAlone()
    {
        const ColorValue before = f.form->colorEditing().backColor();
        f.typeOver("bg_blue_hex", QStringLiteral("g"));
        QCOMPARE(f.messages.shown, QStringList{messages::kHexDigit});
        QCOMPARE(text("bg_blue_hex"), QStringLiteral("g"));
        QCOMPARE(text("bg_blue_dec"), QStringLiteral("15"));
        QCOMPARE(slider("bg_blue_slide")->value(), 15);
        QCOMPARE(f.form->colorEditing().backColor(), before);
    }

    void threeHexDigitsGiveZeroAndKeepTheText()
    {
        f.typeOver("fg_green_hex", QStringLiteral("ff"));
        QCOMPARE(text("fg_green_dec"), QStringLiteral("255"));
        // Lower case on purpose: the box is upper-cased on the way, and the
        // user still hears about the length once only.
        QTest::keyClicks(f.control("fg_green_hex"), QStringLiteral("f"));
        QCOMPARE(f.messages.shown, QStringList{messages::kHexLength});
        QCOMPARE(text("fg_green_hex"), QStringLiteral("FFF"));
        QCOMPARE(text("fg_green_dec"), QStringLiteral("0"));
        QCOMPARE(slider("fg_green_slide")->value(), 0);
    }

    void pageKeysMoveByTheLargeChange_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("page");
        QTest::newRow("bg red pages by ten") << "bg_red_slide" << 10;
        for (const char *name :
             {"bg_green_slide", "bg_blue_slide", "fg_red_slide", "fg_green_slide", "fg_blue_slide"})
            QTest::newRow(name) << name << 5;
    }

    void pageKeysMoveByTheLargeChange()
    {
        QFETCH(QString, name);
        QFETCH(int, page);
        auto *s = f.control<ScrollSlider>(name.toLatin1().constData());
        const QString dec = name.chopped(5) + QStringLiteral("dec");
        const int start = s->value() > 200 ? 200 : s->value();
        s->setValue(start);
        QTest::keyClick(s, Qt::Key_PageUp);
        QCOMPARE(s->value(), start + page);
        // The user's move reached the other editors of the channel.
        QCOMPARE(f.form->findChild<QLineEdit *>(dec)->text(), QString::number(start + page));
        QTest::keyClick(s, Qt::Key_Right);
        QCOMPARE(s->value(), start + page + 1);
        QTest::keyClick(s, Qt::Key_PageDown);
        QCOMPARE(s->value(), start + 1);
        QCOMPARE(f.form->findChild<QLineEdit *>(dec)->text(), QString::number(start + 1));
    }

    void draggingTheSliderUpdatesTheChannel()
    {
        ScrollSlider *s = slider("fg_blue_slide");
        s->setSliderDown(true);
        s->setSliderPosition(171);
        s->setSliderDown(false);
        QCOMPARE(text("fg_blue_dec"), QStringLiteral("171"));
        QCOMPARE(text("fg_blue_hex"), QStringLiteral("AB"));
        QCOMPARE(channelOf(f.form->colorEditing().foreColor(), 16), 171);
    }

    void assigningTheSliderFromCodeIsNoScroll()
    {
        ScrollSlider *s = slider("fg_red_slide");
        QSignalSpy scrolls(s, &ScrollSlider::Scroll);
        s->setValue(99);
        QCOMPARE(scrolls.count(), 0);
        QCOMPARE(text("fg_red_dec"), QStringLiteral("0"));

        // A key press against the end stop changes nothing, and must not
        // leave a pending user move that a later assignment would report.
        s->setValue(255);
        QTest::keyClick(s, Qt::Key_Right);
        s->setValue(12);
        QCOMPARE(scrolls.count(), 0);
    }

    void hexBoxWithFocusDoesNotFeedItsDecimalSibling()
    {
        // A lone "F" in the hexadecimal box must stay as typed: if the decimal
        // handler ran on its "15" it would rewrite the box as "0F".
        f.clickInto("fg_green_dec");
        f.typeOver("fg_green_hex", QStringLiteral("F"));
        QCOMPARE(text("fg_green_hex"), QStringLiteral("F"));
        QCOMPARE(text("fg_green_dec"), QStringLiteral("15"));
    }

    void decimalBoxWithFocusDoesNotFeedItsHexSibling()
    {
        // "007" must stay as typed: if the hexadecimal handler ran on its
        // "07" it would rewrite the decimal box as "7".
        f.clickInto("fg_green_hex");
        f.typeOver("fg_green_dec", QStringLiteral("007"));
        QCOMPARE(text("fg_green_dec"), QStringLiteral("007"));
        QCOMPARE(text("fg_green_hex"), QStringLiteral("07"));
    }

    void aFlagOutlivesFocusMovingToAnotherChannel()
    {
        // The decimal box keeps its flag when the focus moves to another
        // channel, so a slider move recomputes through its handler.
        f.typeOver("fg_red_dec", QStringLiteral("7"));
        f.clickInto("bg_red_dec");
        ScrollSlider *s = slider("fg_red_slide");
        QTest::keyClick(s, Qt::Key_Right);
        QCOMPARE(text("fg_red_dec"), QStringLiteral("8"));
        QCOMPARE(text("fg_red_hex"), QStringLiteral("08"));
        QCOMPARE(f.form->colorEditing().foreColor(), RGB(8, 0, 0));
    }

    void refreshValueLoadsOnePair_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("pair");
        QTest::newRow("fg") << "fg"
                            << "fg";
        QTest::newRow("bg") << "bg"
                            << "bg";
        QTest::newRow("upper case FG is background") << "FG"
                                                     << "bg";
        QTest::newRow("anything else is background") << "x"
                                                     << "bg";
    }

    void refreshValueLoadsOnePair()
    {
        QFETCH(QString, selector);
        QFETCH(QString, pair);
        const QString other = pair == u"fg" ? QStringLiteral("bg") : QStringLiteral("fg");
        const ColorValue fore = f.form->colorEditing().foreColor();
        const ColorValue back = f.form->colorEditing().backColor();
        QStringList otherTexts;
        for (const char *ch :
             {"_red_dec", "_red_hex", "_green_dec", "_green_hex", "_blue_dec", "_blue_hex"})
            otherTexts << f.form->findChild<QLineEdit *>(other + QLatin1String(ch))->text();

        f.form->RefreshValue(1018317, selector);

        const std::pair<const char *, const char *> expected[] = {
            {"_red_dec", "205"},  {"_red_hex", "CD"},  {"_green_dec", "137"},
            {"_green_hex", "89"}, {"_blue_dec", "15"}, {"_blue_hex", "0F"},
        };
        for (const auto &[suffix, value] : expected)
            QCOMPARE(f.form->findChild<QLineEdit *>(pair + QLatin1String(suffix))->text(),
                     QLatin1String(value));
        QCOMPARE(f.form->findChild<ScrollSlider *>(pair + QLatin1String("_red_slide"))->value(),
                 205);
        QCOMPARE(f.form->findChild<ScrollSlider *>(pair + QLatin1String("_green_slide"))->value(),
                 137);
        QCOMPARE(f.form->findChild<ScrollSlider *>(pair + QLatin1String("_blue_slide"))->value(),
                 15);

        QStringList otherAfter;
        for (const char *ch :
             {"_red_dec", "_red_hex", "_green_dec", "_green_hex", "_blue_dec", "_blue_hex"})
            otherAfter << f.form->findChild<QLineEdit *>(other + QLatin1String(ch))->text();
        QCOMPARE(otherAfter, otherTexts);
        QCOMPARE(f.form->colorEditing().foreColor(), fore);
        QCOMPARE(f.form->colorEditing().backColor(), back);
        QVERIFY(f.messages.shown.isEmpty());
    }

    void refreshValueKeepsOutOfRangeColoursInTheSliders()
    {
        f.form->RefreshValue(-1, QStringLiteral("fg"));
        QCOMPARE(text("fg_blue_dec"), QStringLiteral("255"));
        QCOMPARE(slider("fg_blue_slide")->value(), 255);
        QCOMPARE(text("fg_blue_hex"), QStringLiteral("FF"));
    }
};

QTEST_MAIN(ChannelEditorsTest)
#include "channel_editors_test.moc"
