#include "common/scroll_slider.h"
#include "main_window_fixture.h"

#include <QPushButton>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class ColorDialogTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    QStringList editorState() const
    {
        QStringList state;
        for (QLineEdit *box : f.form->findChildren<QLineEdit *>())
            state << box->objectName() + u'=' + box->text();
        for (ScrollSlider *s : f.form->findChildren<ScrollSlider *>())
            state << s->objectName() + u'=' + QString::number(s->value());
        return state;
    }

    void press(const char *button) const
    {
        QTest::mouseClick(f.control<QPushButton>(button), Qt::LeftButton);
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("foreground") << "show_fg_color";
        QTest::newRow("background") << "show_bg_color";
    }

    void cancelChangesNothing()
    {
        QFETCH(QString, button);
        // A colour was confirmed before, so a dialog that applied its
        // remembered colour on cancel would show here.
        f.colorChooser.answers = {RGB(1, 2, 3), std::nullopt};
        press("show_bg_color");
        const QStringList before = editorState();
        const ColorValue fore = f.form->colorEditing().foreColor();
        const ColorValue back = f.form->colorEditing().backColor();

        press(button.toLatin1().constData());

        QCOMPARE(f.colorChooser.shown, 2);
        QCOMPARE(editorState(), before);
        QCOMPARE(f.form->colorEditing().foreColor(), fore);
        QCOMPARE(f.form->colorEditing().backColor(), back);
    }

    void pureRedLoadsTheForeground()
    {
        const ColorValue back = f.form->colorEditing().backColor();
        f.colorChooser.answers = {RGB(255, 0, 0)};
        press("show_fg_color");

        QCOMPARE(f.form->colorEditing().foreColor(), RGB(255, 0, 0));
        QCOMPARE(f.control("fg_red_dec")->text(), QStringLiteral("255"));
        QCOMPARE(f.control("fg_red_hex")->text(), QStringLiteral("FF"));
        QCOMPARE(f.control<ScrollSlider>("fg_red_slide")->value(), 255);
        for (const char *name : {"fg_green_dec", "fg_blue_dec"})
            QCOMPARE(f.control(name)->text(), QStringLiteral("0"));
        for (const char *name : {"fg_green_hex", "fg_blue_hex"})
            QCOMPARE(f.control(name)->text(), QStringLiteral("00"));
        QCOMPARE(f.form->colorEditing().backColor(), back);
        QTRY_VERIFY_WITH_TIMEOUT(f.control("txtColorInfo")
                                     ->text()
                                     .contains(QStringLiteral("前景色RGB(255，0，0)[#FF0000]")),
                                 300);
    }

    void backgroundLeavesTheForegroundAlone()
    {
        const QStringList fgBefore = editorState().filter(QStringLiteral("fg_"));
        const ColorValue fore = f.form->colorEditing().foreColor();
        f.colorChooser.answers = {RGB(18, 52, 86)};
        press("show_bg_color");
        QCOMPARE(f.form->colorEditing().backColor(), RGB(18, 52, 86));
        QCOMPARE(f.control("bg_blue_hex")->text(), QStringLiteral("56"));
        QCOMPARE(editorState().filter(QStringLiteral("fg_")), fgBefore);
        QCOMPARE(f.form->colorEditing().foreColor(), fore);
    }

    void accessKeysOpenTheDialog()
    {
        // A button's access key presses it with a short animation, so the
        // dialog opens a moment after the key.
        f.colorChooser.answers = {RGB(0, 0, 255), RGB(0, 255, 0)};
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::AltModifier);
        QTRY_COMPARE(f.form->colorEditing().foreColor(), RGB(0, 0, 255));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(f.form->colorEditing().backColor(), RGB(0, 255, 0));
    }
};

QTEST_MAIN(ColorDialogTest)
#include "color_dialog_test.moc"
