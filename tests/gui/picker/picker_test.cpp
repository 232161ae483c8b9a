#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "picker/picker_window.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class PickerTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    PickerWindow *openPicker()
    {
        QTest::mouseClick(f.control<QPushButton>("cmdMouse"), Qt::LeftButton);
        PickerWindow *picker = f.form->picker();
        if (picker) {
            // Samples are taken by hand here, one scripted position at a time.
            picker->findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
        }
        return picker;
    }

    QString label(PickerWindow *picker, const char *name) const
    {
        return picker->findChild<QLabel *>(QLatin1String(name))->text();
    }

    QList<PickerWindow *> openPickers() const
    {
        QList<PickerWindow *> pickers;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *p = qobject_cast<PickerWindow *>(w); p && p->isVisible())
                pickers << p;
        }
        return pickers;
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    void opensAsASmallTopmostWindowAndMinimisesTheMainWindow()
    {
        PickerWindow *picker = openPicker();
        QVERIFY(picker);
        QCOMPARE(picker->windowTitle(), QStringLiteral("鼠标取色"));
        QCOMPARE(picker->size(), QSize(twipsToPixels(3495), twipsToPixels(1545)));
        QVERIFY(picker->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(picker->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(picker->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(f.form->windowState() & Qt::WindowMinimized);
        QCOMPARE(picker->notice(), QStringLiteral("按Alt+Shift+S存储当前颜色"));
        for (const char *hidden : {"lblData(1)", "lblData(2)", "lblData(3)"})
            QVERIFY(!picker->findChild<QLabel *>(QLatin1String(hidden))->isVisibleTo(picker));

        // The key is Alt+Shift+S under identifier 1, on the picker's own window.
        QCOMPARE(f.hotKey->held.size(), 1);
        QCOMPARE(f.hotKey->held[0].window, quintptr(picker->winId()));
        QCOMPARE(f.hotKey->held[0].id, 1);
        QCOMPARE(f.hotKey->held[0].modifiers, 5);
        QCOMPARE(f.hotKey->held[0].virtualKey, 83);
    }

    void aSecondClickKeepsOnePicker()
    {
        PickerWindow *first = openPicker();
        f.form->setWindowState(Qt::WindowNoState);
        PickerWindow *second = openPicker();
        QCOMPARE(second, first);
        QCOMPARE(openPickers().size(), 1);
        QCOMPARE(f.hotKey->registerCalls, 1);
        QVERIFY(f.form->windowState() & Qt::WindowMinimized);
    }

    void samplesOnlyWhenThePointerMoves()
    {
        f.sampler->cursorScript = {QPoint(0, 0), QPoint(512, 384), QPoint(512, 384)};
        f.sampler->defaultWindow = 77;
        f.sampler->clientOrigin[77] = QPoint(500, 400);
        f.sampler->pixels[QPoint(512, 384)] = RGB(18, 52, 86);
        PickerWindow *picker = openPicker();

        // The pointer starts where the last sample is taken to be: (0, 0).
        picker->Timer1_Timer();
        QCOMPARE(f.sampler->pixelAtCalls, 0);
        QCOMPARE(label(picker, "lblData(0)"), QString());

        picker->Timer1_Timer();
        QCOMPARE(label(picker, "lblData(0)"), QStringLiteral("光标位置：512,384"));
        QCOMPARE(label(picker, "lblData(1)"), QStringLiteral("77"));
        QCOMPARE(label(picker, "lblData(3)"), QStringLiteral("位置：12,-16"));
        // The colour label reads the stored byte order: blue, green, red.
        QCOMPARE(label(picker, "lblData(4)"), QStringLiteral("RGB颜色：563412"));
        QCOMPARE(picker->pictureColor(), RGB(18, 52, 86));

        // Resting: the screen under the pointer may change, nothing is read.
        f.sampler->pixels[QPoint(512, 384)] = RGB(1, 1, 1);
        picker->Timer1_Timer();
        QCOMPARE(f.sampler->pixelAtCalls, 1);
        QCOMPARE(picker->pictureColor(), RGB(18, 52, 86));
    }

    void colourLabelHasNoLeadingZeros_data()
    {
        QTest::addColumn<int>("color");
        QTest::addColumn<QString>("text");
        QTest::newRow("pure red") << int(RGB(255, 0, 0)) << "FF";
        QTest::newRow("pure blue") << int(RGB(0, 0, 255)) << "FF0000";
        QTest::newRow("white") << int(RGB(255, 255, 255)) << "FFFFFF";
        QTest::newRow("black") << int(RGB(0, 0, 0)) << "0";
    }

    void colourLabelHasNoLeadingZeros()
    {
        QFETCH(int, color);
        QFETCH(QString, text);
        f.sampler->cursorScript = {QPoint(5, 5)};
        f.sampler->defaultPixel = color;
        PickerWindow *picker = openPicker();
        picker->Timer1_Timer();
        QCOMPARE(label(picker, "lblData(4)"), QStringLiteral("RGB颜色：") + text);
    }

    void anUnreadablePixelKeepsTheSwatchColour()
    {
        f.sampler->cursorScript = {QPoint(5, 5), QPoint(6, 6)};
        f.sampler->pixels[QPoint(5, 5)] = RGB(9, 9, 9);
        f.sampler->defaultPixel = kClrInvalid;
        PickerWindow *picker = openPicker();
        picker->Timer1_Timer();
        picker->Timer1_Timer();
        QCOMPARE(picker->pictureColor(), RGB(9, 9, 9));
        QCOMPARE(label(picker, "lblData(4)"), QStringLiteral("RGB颜色：90909"));
    }

    void hotKeyStoresIntoTheNextSlotAndWraps()
    {
        f.sampler->cursorScript = {QPoint(5, 5)};
        f.sampler->defaultPixel = RGB(1, 2, 3);
        ColorBoxModel &box = f.form->colorBox();
        const int last = box.lastIndex();
        box.lPicIndex = last;
        PickerWindow *picker = openPicker();
        picker->Timer1_Timer();

        QVERIFY(f.hotKey->press(picker->winId(), 1));
        QCOMPARE(box.color(last), RGB(1, 2, 3));
        QCOMPARE(box.lPicIndex, last + 1);
        QVERIFY(f.hotKey->press(picker->winId(), 1));
        QCOMPARE(box.color(0), RGB(1, 2, 3));
        QCOMPARE(box.lPicIndex, 1);
    }

    void aPressBeforeTheFirstSampleStoresTheWindowColour()
    {
        ColorBoxModel &box = f.form->colorBox();
        box.setColor(0, RGB(7, 7, 7));
        PickerWindow *picker = openPicker();
        QVERIFY(f.hotKey->press(picker->winId(), 1));
        const QColor window = picker->palette().color(QPalette::Base);
        QCOMPARE(box.color(0), RGB(window.red(), window.green(), window.blue()));
    }

    void otherMessagesStoreNothing()
    {
        PickerWindow *picker = openPicker();
        ColorBoxModel &box = f.form->colorBox();
        box.setColor(0, RGB(7, 7, 7));
        f.hotKey->deliver(picker->winId(), kWmHotKey, 2, hotKeyLParam(5, 83));
        f.hotKey->deliver(picker->winId(), kWmHotKey, 1, hotKeyLParam(1, 83));
        f.hotKey->deliver(picker->winId(), 0x0100, 1, hotKeyLParam(5, 83));
        QCOMPARE(box.color(0), RGB(7, 7, 7));
        QCOMPARE(box.lPicIndex, 0);
    }

    void closingBringsTheMainWindowBackMaximisedAndFreesTheKey()
    {
        f.form->setWindowState(Qt::WindowNoState);
        PickerWindow *picker = openPicker();
        const quintptr hWnd = picker->winId();
        picker->close();
        QVERIFY(f.form->windowState() & Qt::WindowMaximized);
        QVERIFY(f.form->isVisible());
        QVERIFY(f.hotKey->held.isEmpty());
        QTRY_VERIFY(!f.form->picker());

        // The key means nothing to the program any more.
        const std::vector<ColorValue> before = f.form->colorBox().colors();
        QVERIFY(!f.hotKey->press(hWnd, 1));
        QVERIFY(f.form->colorBox().colors() == before);

        // Opening again starts afresh, sampling from (0, 0).
        f.sampler->cursorScript = {QPoint(0, 0)};
        PickerWindow *again = openPicker();
        QVERIFY(again);
        again->Timer1_Timer();
        QCOMPARE(label(again, "lblData(0)"), QString());
        QCOMPARE(f.hotKey->held.size(), 1);
    }

    void aTakenKeyIsSaidAndStoresNothing()
    {
        f.hotKey->nextResult = HotKeyResult::Taken;
        PickerWindow *picker = openPicker();
        QCOMPARE(picker->notice(), PickerWindow::keyTakenText());
        QVERIFY(!f.hotKey->press(picker->winId(), 1));
    }

    void anUnreadableScreenIsSaidAndNotSampled()
    {
        f.sampler->isAvailable = false;
        f.sampler->cursorScript = {QPoint(5, 5)};
        PickerWindow *picker = openPicker();
        QCOMPARE(picker->notice(), PickerWindow::screenUnavailableText());
        picker->Timer1_Timer();
        QCOMPARE(f.sampler->pixelAtCalls, 0);
        QCOMPARE(label(picker, "lblData(4)"), QString());
    }

    void closingTheMainWindowTakesThePickerWithIt()
    {
        QPointer<PickerWindow> picker = openPicker();
        f.form->close();
        QCOMPARE(f.programEnded, 1);
        f.form.reset();
        QVERIFY(!picker);
        QVERIFY(f.hotKey->held.isEmpty());
    }
};

QTEST_MAIN(PickerTest)
#include "picker_test.moc"
