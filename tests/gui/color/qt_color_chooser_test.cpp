#include "color/qt_color_chooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace tintavo;

namespace {

// Answers the next colour dialog that opens: picks `color` and confirms it, or
// cancels when `color` is invalid. Reports the dialog it answered.
void answerNextDialog(const QColor &color, QColorDialog **answered, QColor *openedOn = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        *answered = dialog;
        if (!dialog)
            return;
        if (openedOn)
            *openedOn = dialog->currentColor();
        if (color.isValid()) {
            dialog->setCurrentColor(color);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

} // namespace

class QtColorChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void noDialogExistsUntilTheFirstChoice()
    {
        QWidget owner;
        QtColorChooser chooser(&owner);
        QVERIFY(owner.findChildren<QColorDialog *>().isEmpty());
        QCOMPARE(chooser.chosenColor(), ColorValue(0));
    }

    void choosingGivesTheColourAndKeepsTheDialogForTheNextChoice()
    {
        QWidget owner;
        QtColorChooser chooser(&owner);

        QColorDialog *first = nullptr;
        QColor openedOn;
        answerNextDialog(QColor(10, 20, 30), &first, &openedOn);
        QVERIFY(chooser.choose());
        QVERIFY(first);
        QCOMPARE(first->objectName(), QStringLiteral("CommonDialog1"));
        QCOMPARE(first->parent(), &owner);
        QCOMPARE(openedOn, QColor(Qt::black));
        QCOMPARE(chooser.chosenColor(), RGB(10, 20, 30));

        // The same dialog opens again, on the colour last confirmed; a
        // cancelled choice leaves the chosen colour alone.
        QColorDialog *second = nullptr;
        answerNextDialog(QColor(), &second, &openedOn);
        QVERIFY(!chooser.choose());
        QCOMPARE(second, first);
        QCOMPARE(openedOn, QColor(10, 20, 30));
        QCOMPARE(chooser.chosenColor(), RGB(10, 20, 30));
        QCOMPARE(owner.findChildren<QColorDialog *>().size(), 1);
    }
};

QTEST_MAIN(QtColorChooserTest)
#include "qt_color_chooser_test.moc"
