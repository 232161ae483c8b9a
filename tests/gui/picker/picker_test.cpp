#include "colorbox/color_box_model.h"
#include "common/qt_color.h"
#include "main_window_fixture.h"
#include "picker/picker_window.h"

#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
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
        if (picker) // samples are taken by hand here
            picker->findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
        return picker;
    }

    // What a label shows, as plain text.
    static QString text(QWidget *window, const char *name)
    {
        QTextDocument document;
        document.setHtml(window->findChild<QLabel *>(QLatin1String(name))->text());
        return document.toPlainText().replace(QChar::LineSeparator, QLatin1Char('\n'));
    }

    // The colour the picker's swatch shows in its middle.
    static QColor swatch(QWidget *picker)
    {
        const QImage image =
            picker->findChild<QWidget *>(QStringLiteral("Picture1"))->grab().toImage();
        return image.pixelColor(image.rect().center());
    }

    // The pointer moves to `at`, where the screen shows `color`, and is sampled.
    void sampleAt(PickerWindow *picker, QPoint at, ColorValue color)
    {
        f.sampler->pointer = at;
        f.sampler->pixels[at] = color;
        picker->sampleUnderPointer();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.resetSettings(); }

    void opensOnceAsATopmostWindowHoldingAltShiftS()
    {
        f.form->setWindowState(Qt::WindowNoState);
        PickerWindow *picker = openPicker();
        QVERIFY(picker);
        QCOMPARE(picker->windowTitle(), QStringLiteral("鼠标取色"));
        QCOMPARE(picker->size(), QSize(twipsToPixels(3495), twipsToPixels(1545)));
        QVERIFY(picker->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(picker->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(f.form->windowState() & Qt::WindowMinimized);
        QCOMPARE(text(picker, "Label1"), QStringLiteral("按Alt+Shift+S存储当前颜色"));
        for (const char *hidden : {"lblData(1)", "lblData(2)", "lblData(3)"})
            QVERIFY(!picker->findChild<QLabel *>(QLatin1String(hidden))->isVisibleTo(picker));
        QCOMPARE(f.hotKey->held, QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S));

        // A second click brings the same picker and minimises the main window again.
        f.form->setWindowState(Qt::WindowNoState);
        QCOMPARE(openPicker(), picker);
        QCOMPARE(f.hotKey->registrations, 1);
        QVERIFY(f.form->windowState() & Qt::WindowMinimized);
    }

    void showsThePointerAndTheColourUnderIt_data()
    {
        QTest::addColumn<QList<QPoint>>("points"); // one sample at each
        QTest::addColumn<QList<int>>("colors");    // the screen there; -1 unreadable
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("color");
        QTest::addColumn<int>("swatch"); // -1: as when the picker opened
        const QPoint p(512, 384);
        const int c = RGB(18, 52, 86);
        QTest::newRow("stored byte order") << QList{p} << QList{c} << "光标位置：512,384"
                                           << "RGB颜色：563412" << c;
        QTest::newRow("pure red") << QList{p} << QList{0xFF} << "光标位置：512,384"
                                  << "RGB颜色：FF" << 0xFF;
        QTest::newRow("pure blue") << QList{p} << QList{0xFF0000} << "光标位置：512,384"
                                   << "RGB颜色：FF0000" << 0xFF0000;
        QTest::newRow("white") << QList{p} << QList{0xFFFFFF} << "光标位置：512,384"
                               << "RGB颜色：FFFFFF" << 0xFFFFFF;
        QTest::newRow("black") << QList{p} << QList{0} << "光标位置：512,384"
                               << "RGB颜色：0" << 0;
        QTest::newRow("resting at the start point is not sampled")
            << QList{QPoint(0, 0)} << QList{c} << ""
            << "" << -1;
        QTest::newRow("a resting pointer does not see the screen change")
            << QList{p, p} << QList{c, 0xFF} << "光标位置：512,384"
            << "RGB颜色：563412" << c;
        QTest::newRow("an unreadable pixel keeps the colour")
            << QList{p, QPoint(6, 7)} << QList{c, -1} << "光标位置：6,7"
            << "RGB颜色：563412" << c;
    }

    void showsThePointerAndTheColourUnderIt()
    {
        QFETCH(QList<QPoint>, points);
        QFETCH(QList<int>, colors);
        QFETCH(QString, position);
        QFETCH(QString, color);
        QFETCH(int, swatch);
        PickerWindow *picker = openPicker();
        const QColor atOpening = PickerTest::swatch(picker);
        for (int i = 0; i < points.size(); ++i) {
            f.sampler->pixels.remove(points[i]);
            if (colors[i] >= 0)
                f.sampler->pixels[points[i]] = colors[i];
            f.sampler->pointer = points[i];
            picker->sampleUnderPointer();
        }
        QCOMPARE(text(picker, "lblData(0)"), position);
        QCOMPARE(text(picker, "lblData(4)"), color);
        QCOMPARE(PickerTest::swatch(picker), swatch < 0 ? atOpening : toQColor(swatch));
    }

    void theKeyStoresIntoTheNextSlotAndWraps_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("written"); // one press each
        QTest::newRow("first slots") << 0 << QList{0, 1};
        QTest::newRow("last slot, then the first") << 63 << QList{63, 0};
        QTest::newRow("one past the end") << 64 << QList{0};
        QTest::newRow("far past the end") << 5000 << QList{0};
        QTest::newRow("negative") << -3 << QList{0};
    }

    void theKeyStoresIntoTheNextSlotAndWraps()
    {
        QFETCH(int, start);
        QFETCH(QList<int>, written);
        ColorBoxModel &box = f.form->colorBox();
        QCOMPARE(box.count(), 64);
        box.nextCaptureSlot = start;
        PickerWindow *picker = openPicker();
        for (int press = 0; press < written.size(); ++press) {
            sampleAt(picker, QPoint(press + 1, 1), RGB(10 * press + 10, 20, 30));
            QVERIFY(f.hotKey->press());
            QCOMPARE(box.color(written[press]), RGB(10 * press + 10, 20, 30));
        }
        QCOMPARE(box.nextCaptureSlot, written.last() + 1);
    }

    void aPressBeforeTheFirstSampleStoresTheSwatchColour()
    {
        PickerWindow *picker = openPicker();
        QVERIFY(f.hotKey->press());
        QCOMPARE(toQColor(f.form->colorBox().color(0)), swatch(picker));
    }

    void closingBringsTheMainWindowBackMaximisedAndFreesTheKey()
    {
        f.form->setWindowState(Qt::WindowNoState);
        openPicker()->close();
        QVERIFY(f.form->isVisible());
        QVERIFY(f.form->windowState() & Qt::WindowMaximized);
        QVERIFY(!f.hotKey->held);
        QTRY_VERIFY(!f.form->picker());

        // Opened again, it starts afresh from the start point (0, 0).
        PickerWindow *again = openPicker();
        QVERIFY(f.hotKey->held);
        sampleAt(again, QPoint(0, 0), RGB(1, 2, 3));
        QCOMPARE(text(again, "lblData(0)"), QString());
    }

    void saysWhatTheDesktopDenies_data()
    {
        QTest::addColumn<HotKeyResult>("answer");
        QTest::addColumn<bool>("screenReadable");
        QTest::addColumn<QString>("notice");
        QTest::newRow("key taken")
            << HotKeyResult::Taken << true << "Alt+Shift+S\n已被其他程序占用";
        QTest::newRow("no global keys")
            << HotKeyResult::Unsupported << true << "不支持全局热键，\n无法存储颜色";
        QTest::newRow("screen unreadable")
            << HotKeyResult::Registered << false << "无法读取屏幕，\n取色不可用";
    }

    void saysWhatTheDesktopDenies()
    {
        QFETCH(HotKeyResult, answer);
        QFETCH(bool, screenReadable);
        QFETCH(QString, notice);
        f.hotKey->answer = answer;
        f.sampler->isAvailable = screenReadable;
        PickerWindow *picker = openPicker();
        QCOMPARE(text(picker, "Label1"), notice);
        sampleAt(picker, QPoint(5, 5), RGB(1, 2, 3));
        QCOMPARE(text(picker, "lblData(4)").isEmpty(), !screenReadable);
    }

    void closingTheMainWindowTakesThePickerAndTheKeyWithIt()
    {
        QPointer<PickerWindow> picker = openPicker();
        f.form->close();
        QCOMPARE(f.programEnded, 1);
        f.form.reset();
        QVERIFY(!picker);
        QVERIFY(!f.hotKey->held);
    }
};

QTEST_MAIN(PickerTest)
#include "picker_test.moc"
