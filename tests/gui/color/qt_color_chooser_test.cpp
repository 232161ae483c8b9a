#include "color/qt_color_chooser.h"
#include "main_window_fixture.h"

#include <QColorDialog>

using namespace tintavo;

class QtColorChooserTest : public QObject
{
    Q_OBJECT

private slots:
    // One dialog over its window serves every choice, opening on the colour
    // last confirmed (black at first); a cancelled choice changes nothing.
    void opensOnTheColourLastConfirmed()
    {
        setUpApplicationLook(*qApp);
        QWidget owner;
        QtColorChooser chooser(&owner);
        QCOMPARE(chooser.chosenColor(), ColorValue(0));
        const QColor picked(10, 20, 30);
        // The answer (invalid: cancel), then the colour the dialog opens on.
        for (const auto &row : {std::pair{picked, QColor(Qt::black)}, {QColor(), picked}}) {
            QColor openedOn;
            QTimer::singleShot(0, [&] {
                auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                openedOn = dialog ? dialog->currentColor() : QColor();
                if (dialog && row.first.isValid())
                    dialog->setCurrentColor(row.first);
                if (dialog)
                    row.first.isValid() ? dialog->accept() : dialog->reject();
            });
            QCOMPARE(chooser.choose(), row.first.isValid());
            QCOMPARE(openedOn, row.second);
            QCOMPARE(chooser.chosenColor(), RGB(10, 20, 30));
        }
        const auto dialogs = owner.findChildren<QColorDialog *>();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0]->objectName(), QStringLiteral("CommonDialog1"));
    }
};

QTEST_MAIN(QtColorChooserTest)
#include "qt_color_chooser_test.moc"
