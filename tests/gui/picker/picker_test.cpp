#include "colorbox/color_box_model.h"
#include "common/qt_color.h"
#include "common/twips.h"
#include "main_window_fixture.h"
#include "picker/picker_window.h"

#include <QLabel>
#include <QTextDocument>

using namespace tintavo;

class PickerTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;
    QPointer<PickerWindow> picker;

    // Opens the picker with the main window's button; samples are taken by hand here.
    void open()
    {
        f.press("cmdMouse");
        picker = f.form->picker();
        test::child<QTimer>(picker, "Timer1")->stop();
    }

    // What a label of the picker shows, as plain text.
    QString text(const char *name) const
    {
        QTextDocument document;
        document.setHtml(test::child<QLabel>(picker, name)->text());
        return document.toPlainText().replace(QChar::LineSeparator, u'\n');
    }

    QColor swatch() const
    {
        const QImage image = test::child<QWidget>(picker, "Picture1")->grab().toImage();
        return image.pixelColor(image.rect().center());
    }

    // The pointer moves to `at`, where the screen shows `color` (-1: cannot
    // be read), and is sampled.
    void sampleAt(QPoint at, int color)
    {
        f.sampler.pointer = at;
        f.sampler.pixels.remove(at);
        if (color >= 0)
            f.sampler.pixels[at] = color;
        picker->sampleUnderPointer();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.reset(); }

    // A topmost window that minimises the main window and holds Alt+Shift+S;
    // a second click brings the same one. Closing it brings the main window
    // back maximised and frees the key; opened again, it starts afresh.
    void opensOnceAndClosesAgain()
    {
        for (int click = 0; click < 2; ++click) {
            f.form->setWindowState(Qt::WindowNoState);
            PickerWindow *before = picker;
            open();
            QVERIFY(!before || picker == before);
            QVERIFY(f.form->windowState() & Qt::WindowMinimized);
        }
        QCOMPARE(picker->windowTitle(), QStringLiteral("鼠标取色"));
        QCOMPARE(picker->size(), QSize(twipsToPixels(3495), twipsToPixels(1545)));
        QVERIFY(picker->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(picker->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(text("Label1"), QStringLiteral("按Alt+Shift+S存储当前颜色"));
        for (const char *hidden : {"lblData(1)", "lblData(2)", "lblData(3)"})
            QVERIFY(!test::child<QLabel>(picker, hidden)->isVisibleTo(picker));
        QCOMPARE(f.hotKey.held, QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S));
        picker->close();
        QVERIFY(f.form->isVisible() && (f.form->windowState() & Qt::WindowMaximized));
        QVERIFY(!f.hotKey.held);
        QTRY_VERIFY(!f.form->picker());
        open();
        QVERIFY(f.hotKey.held);
        sampleAt(QPoint(0, 0), RGB(1, 2, 3));
        QCOMPARE(text("lblData(0)"), QString());
    }

    // Samples ("x,y=colour" as stored, '-' where the screen cannot be read),
    // then the position and colour shown, and the swatch (none: as at opening).
    void showsThePointerAndTheColourUnderIt_data()
    {
        for (const char *column : {"samples", "position", "color", "swatch"})
            QTest::addColumn<QString>(column);
        const char *const rows[][5] = {
            {"stored byte order", "512,384=563412", "光标位置：512,384", "RGB颜色：563412",
             "#123456"},
            {"pure red", "512,384=FF", "光标位置：512,384", "RGB颜色：FF", "#FF0000"},
            {"black", "512,384=0", "光标位置：512,384", "RGB颜色：0", "#000000"},
            {"resting at the start point is not sampled", "0,0=563412", "", "", ""},
            {"a resting pointer does not see the screen change", "512,384=563412 512,384=FF",
             "光标位置：512,384", "RGB颜色：563412", "#123456"},
            {"an unreadable pixel keeps the colour", "512,384=563412 6,7=-", "光标位置：6,7",
             "RGB颜色：563412", "#123456"},
        };
        for (const auto &r : rows)
            QTest::newRow(r[0]) << r[1] << r[2] << r[3] << r[4];
    }

    void showsThePointerAndTheColourUnderIt()
    {
        QFETCH(QString, samples);
        QFETCH(QString, swatch);
        open();
        const QColor atOpening = this->swatch();
        for (const QString &s : samples.split(u' ')) {
            const QStringList v = s.split(QRegularExpression("[,=]"));
            sampleAt(QPoint(v[0].toInt(), v[1].toInt()),
                     v[2] == u"-" ? -1 : v[2].toInt(nullptr, 16));
        }
        QTEST(text("lblData(0)"), "position");
        QTEST(text("lblData(4)"), "color");
        QCOMPARE(this->swatch(), swatch.isEmpty() ? atOpening : QColor(swatch));
    }

    // The key stores the colour shown into the next slot, wrapping at the end
    // (before any sample, the swatch's colour at opening).
    void theKeyStoresIntoTheNextSlotAndWraps_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("written"); // one press each
        QTest::newRow("first slots") << 0 << QList{0, 1};
        QTest::newRow("last slot, then the first") << 63 << QList{63, 0};
        QTest::newRow("far past the end") << 5000 << QList{0};
        QTest::newRow("negative") << -3 << QList{0};
    }

    void theKeyStoresIntoTheNextSlotAndWraps()
    {
        QFETCH(int, start);
        QFETCH(QList<int>, written);
        ColorBoxModel &box = f.form->colorBox();
        box.fillColors(RGB(1, 1, 1));
        box.nextCaptureSlot = start;
        open();
        const QColor atOpening = swatch();
        QVERIFY(f.hotKey.press());
        QCOMPARE(toQColor(box.color(written[0])), atOpening);
        for (int press = 1; press < written.size(); ++press) {
            sampleAt(QPoint(press, 1), RGB(10 * press, 20, 30));
            QVERIFY(f.hotKey.press());
            QCOMPARE(box.color(written[press]), RGB(10 * press, 20, 30));
        }
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
        f.hotKey.answer = answer;
        f.sampler.isAvailable = screenReadable;
        open();
        QTEST(text("Label1"), "notice");
        sampleAt(QPoint(5, 5), RGB(1, 2, 3));
        QCOMPARE(text("lblData(4)").isEmpty(), !screenReadable);
    }

    // Off X11 the program's own screen and key services say they are not there.
    void offX11NothingIsThere()
    {
        QVERIFY(!createScreenSampler()->available());
        QCOMPARE(createGlobalHotKey()->registerKey(
                     QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S)),
                 HotKeyResult::Unsupported);
    }

    void closingTheMainWindowTakesThePickerAndTheKeyWithIt()
    {
        open();
        f.form->close();
        QCOMPARE(f.programEnded, 1);
        f.form.reset();
        QVERIFY(!picker);
        QVERIFY(!f.hotKey.held);
    }
};

QTEST_MAIN(PickerTest)
#include "picker_test.moc"
