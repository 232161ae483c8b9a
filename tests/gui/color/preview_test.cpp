#include "common/scroll_slider.h"
#include "main_window_fixture.h"

#include "color/channel_codecs.h"

#include <QPlainTextEdit>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class PreviewTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    QString text(const char *name) const { return f.control(name)->text(); }
    QLineEdit *codeLine() const { return f.control("txtColorInfo"); }

    void clickPreview() const
    {
        auto *preview = f.control<QPlainTextEdit>("effect_text");
        QTest::mouseClick(preview->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    void startsBlackOnTheBackgroundColour()
    {
        QCOMPARE(f.form->colorEditing().foreColor(), RGB(0, 0, 0));
        QCOMPARE(f.form->colorEditing().backColor(), RGB(205, 137, 15));
        QTRY_COMPARE(codeLine()->text(),
                     QStringLiteral("[当前颜色设置]   前景色RGB(0，0，0)[#000000]             "
                                    "背景色：RGB(205，137，15) [#CD890F]"));
        QVERIFY(codeLine()->font().bold());
        QCOMPARE(f.control<QPlainTextEdit>("effect_text")->toolTip(),
                 QStringLiteral("这是效果预览区域"));
    }

    void codeLineFollowsWithinATick()
    {
        f.typeOver("fg_red_dec", QStringLiteral("255"));
        QTRY_VERIFY_WITH_TIMEOUT(
            codeLine()->text().contains(QStringLiteral("RGB(255，0，0)[#FF0000]")), 300);
    }

    void selectionInTheCodeLineSurvivesTicks()
    {
        QTRY_VERIFY(codeLine()->text().startsWith(QStringLiteral("[当前颜色设置]   ")));
        codeLine()->setSelection(14, 10);
        const QString selected = codeLine()->selectedText();
        QTest::qWait(350);
        QCOMPARE(codeLine()->selectedText(), selected);
        QCOMPARE(selected, QStringLiteral("RGB(0，0，0)"));
    }

    void clickPadsALoneHexDigit()
    {
        f.typeOver("fg_red_hex", QStringLiteral("F"));
        f.clickInto("bg_red_dec");
        clickPreview();
        QCOMPARE(text("fg_red_hex"), QStringLiteral("0F"));
        QCOMPARE(text("fg_red_dec"), QStringLiteral("15"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void clickFillsAnEmptyHexBox()
    {
        f.typeOver("bg_green_hex", QStringLiteral("x"));
        QTest::keyClick(f.control("bg_green_hex"), Qt::Key_Backspace);
        QCOMPARE(text("bg_green_hex"), QString());
        f.messages.shown.clear();
        clickPreview();
        QCOMPARE(text("bg_green_hex"), QStringLiteral("00"));
        QCOMPARE(text("bg_green_dec"), QStringLiteral("0"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void clickDropsLeadingZerosOfADecimalBox()
    {
        f.typeOver("fg_red_dec", QStringLiteral("007"));
        QCOMPARE(text("fg_red_hex"), QStringLiteral("07"));
        clickPreview();
        QCOMPARE(text("fg_red_dec"), QStringLiteral("7"));
        QTRY_VERIFY(codeLine()->text().contains(QStringLiteral("RGB(7，")));
    }

    void clickFillsAnEmptyDecimalBox()
    {
        f.typeOver("bg_blue_dec", QStringLiteral("1"));
        QTest::keyClick(f.control("bg_blue_dec"), Qt::Key_Backspace);
        QCOMPARE(text("bg_blue_dec"), QString());
        QCOMPARE(text("bg_blue_hex"), QStringLiteral("00"));
        clickPreview();
        QCOMPARE(text("bg_blue_dec"), QStringLiteral("0"));
    }

    void clickOnALongHexTextReportsOnce()
    {
        f.typeOver("bg_red_hex", QStringLiteral("FF"));
        QTest::keyClicks(f.control("bg_red_hex"), QStringLiteral("F"));
        f.messages.shown.clear();
        clickPreview();
        QCOMPARE(f.messages.shown, QStringList{messages::kHexLength});
        QCOMPARE(text("bg_red_hex"), QStringLiteral("FFF"));
        QCOMPARE(text("bg_red_dec"), QStringLiteral("0"));
        QCOMPARE(f.control<ScrollSlider>("bg_red_slide")->value(), 0);
    }

    void clickOnCanonicalCodesChangesNothing()
    {
        QStringList before;
        const auto boxes = f.form->findChildren<QLineEdit *>();
        for (QLineEdit *box : boxes)
            before << box->text();
        clickPreview();
        QStringList after;
        for (QLineEdit *box : boxes)
            after << box->text();
        QCOMPARE(after, before);
        QVERIFY(f.messages.shown.isEmpty());
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
