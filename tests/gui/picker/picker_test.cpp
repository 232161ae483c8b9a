#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "common/twips.h"
#include "icc_profiles.h"
#include "main_window_fixture.h"
#include "picker/picker_window.h"

#include <QDir>
#include <QLabel>
#include <QTextDocument>

using namespace tintavo;

struct Sample
{
    QPoint at;
    QColor shows;       // invalid: nothing readable there
    QRect changed = {}; // where the screen reports a change, rather than a look
};
Q_DECLARE_METATYPE(QList<Sample>)

class PickerTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;
    QPointer<PickerWindow> picker;

    // The main window's button opens it; samples are taken by hand here.
    void open()
    {
        f.press("cmdMouse");
        picker = f.form->picker();
        test::child<QTimer>(picker, "Timer1")->stop();
    }

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

    // Opens the window's menu, as the menu key does, and chooses `item`,
    // which shows checked or not as `checked` says (-1: either).
    void choose(const char *item, int checked = -1)
    {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                picker->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(picker, &event);
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto *action = picker->findChild<QAction *>(item);
        QVERIFY2(action && action->isEnabled(), item);
        QVERIFY2(checked < 0 || action->isChecked() == bool(checked), item);
        action->trigger();
        if (QApplication::activePopupWidget())
            QApplication::activePopupWidget()->close();
    }

    // The pointer moves to `at`, where the screen shows `color` (none:
    // nothing readable), and is sampled: at the next look, or where the
    // sample says a change was reported, once the picker has heard of it.
    void sampleAt(Sample sample)
    {
        f.sampler.pointer = sample.at;
        f.sampler.pixels.remove(sample.at);
        if (sample.shows.isValid())
            f.sampler.pixels[sample.at] = toRgb(sample.shows);
        if (sample.changed.isEmpty()) {
            picker->sampleUnderPointer();
            return;
        }
        f.screenWatch->report(sample.changed);
        QTest::qWait(50); // a displayed frame, and then some
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.reset(); }

    // A topmost window that minimises the main window and holds Alt+Shift+S;
    // a second click brings the same one. Closing it brings the main window
    // back maximised and frees the key; opened again, it holds the key again.
    void opensOnceAndClosesAgain()
    {
        f.form->setWindowState(Qt::WindowNoState);
        open();
        PickerWindow *first = picker;
        f.form->setWindowState(Qt::WindowNoState);
        open();
        QCOMPARE(picker, first);
        QVERIFY(f.form->windowState() & Qt::WindowMinimized);
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
    }

    // Escape and the menu's 关闭取色 close it as its close button does.
    void escapeAndTheMenuClose()
    {
        for (const bool byMenu : {false, true}) {
            f.form->setWindowState(Qt::WindowNoState);
            open();
            if (byMenu)
                choose("menuClosePicker");
            else
                QTest::keyClick(picker, Qt::Key_Escape);
            QTRY_VERIFY(!f.form->picker());
            QVERIFY(f.form->isVisible() && (f.form->windowState() & Qt::WindowMaximized));
            QVERIFY(!f.hotKey.held);
        }
    }

    // Left off the screen while minimised (where a window manager's animation
    // may leave it), the main window comes back on the screen after the
    // picker, maximised and then in its normal state alike.
    void mainWindowComesBackOnTheScreen()
    {
        f.form->setWindowState(Qt::WindowNoState);
        open();
        f.form->move(40, 5000);
        picker->close();
        QVERIFY(f.form->windowState() & Qt::WindowMaximized);
        f.form->setWindowState(Qt::WindowNoState);
        const QRect shown = f.form->screen()->availableGeometry() & f.form->frameGeometry();
        QVERIFY2(shown.height() >= 50, qPrintable(QString::number(f.form->frameGeometry().y())));
    }

    // Samples, then the position and colour shown, and the swatch (none: as
    // at opening).
    void showsThePointerAndTheColourUnderIt_data()
    {
        QTest::addColumn<QList<Sample>>("samples");
        for (const char *column : {"position", "color", "swatch"})
            QTest::addColumn<QString>(column);
        const QPoint p(512, 384);
        const QString at = "光标位置：512,384";
        QTest::newRow("red, green, blue")
            << QList<Sample>{{p, "#123456"}} << at << "RGB颜色：123456"
            << "#123456";
        QTest::newRow("pure red") << QList<Sample>{{p, "#FF0000"}} << at << "RGB颜色：FF0000"
                                  << "#FF0000";
        QTest::newRow("black, zero-padded")
            << QList<Sample>{{p, "#000000"}} << at << "RGB颜色：000000"
            << "#000000";
        QTest::newRow("resting at the start point is not sampled")
            << QList<Sample>{{{0, 0}, "#123456"}} << ""
            << ""
            << "";
        QTest::newRow("a change drawn under the resting pointer shows")
            << QList<Sample>{{p, "#123456"}, {p, "#FF0000", {p, QSize(1, 1)}}} << at
            << "RGB颜色：FF0000"
            << "#FF0000";
        QTest::newRow("so does one at the loupe's corner")
            << QList<Sample>{{p, "#123456"}, {p, "#FF0000", {p + QPoint(5, -8), QSize(4, 4)}}} << at
            << "RGB颜色：FF0000"
            << "#FF0000";
        QTest::newRow("a change beside the loupe's square is not read")
            << QList<Sample>{{p, "#123456"}, {p, "#FF0000", {p + QPoint(6, -5), QSize(50, 10)}}}
            << at << "RGB颜色：123456"
            << "#123456";
        QTest::newRow("nor is one before the first look")
            << QList<Sample>{{p, "#FF0000", {p, QSize(1, 1)}}} << ""
            << ""
            << "";
        QTest::newRow("an unreadable pixel keeps the colour")
            << QList<Sample>{{p, "#123456"}, {{6, 7}, {}}} << "光标位置：6,7"
            << "RGB颜色：123456"
            << "#123456";
    }

    void showsThePointerAndTheColourUnderIt()
    {
        QFETCH(QList<Sample>, samples);
        QFETCH(QString, swatch);
        open();
        const QColor atOpening = this->swatch();
        for (const Sample &sample : samples)
            sampleAt(sample);
        QTEST(text("lblData(0)"), "position");
        QTEST(text("lblData(4)"), "color");
        QCOMPARE(this->swatch(), swatch.isEmpty() ? atOpening : QColor(swatch));
    }

    // The key stores the colour shown into the next slot, wrapping at the
    // end, and the notice says where for a moment.
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
        ColorBoxModel &box = f.session->colorBox();
        box.fillColors(rgb(1, 1, 1));
        box.setNextCaptureSlot(start);
        open();
        for (int press = 0; press < written.size(); ++press) {
            sampleAt({{press + 1, 1}, QColor(0x12, 0x34, 0x56 + press)});
            QVERIFY(f.hotKey.press());
            QCOMPARE(toQColor(box.color(written[press])), QColor(0x12, 0x34, 0x56 + press));
            const QString said =
                QString("已存入颜色 %1：#12345%2").arg(written[press]).arg(6 + press);
            QCOMPARE(text("lblNotice"), said);
            QCOMPARE(test::child<QLabel>(picker, "lblNotice")->accessibleName(), said);
        }
        QTRY_COMPARE_WITH_TIMEOUT(text("lblNotice"), "", 5000);
        QCOMPARE(text("Label1"), "按Alt+Shift+S存储当前颜色");
    }

    // Only a colour read from the screen is stored: the swatch's colour at
    // opening is none (white would empty the slot at the next save). A press
    // before the first sample reads under the pointer; where nothing can be
    // read, the key is not even held.
    void theKeyStoresOnlyWhatWasRead()
    {
        const std::tuple<const char *, bool, QColor> rows[] = {
            {"screen unreadable", false, {}},
            {"pixel unreadable", true, {}},
            {"nothing sampled yet", true, QColor(0x12, 0x34, 0x56)}};
        for (const auto &[name, readable, under] : rows) {
            ColorBoxModel &box = f.session->colorBox();
            box.fillColors(rgb(1, 1, 1));
            box.setNextCaptureSlot(0);
            f.sampler.isAvailable = readable;
            f.sampler.pointer = QPoint(0, 0);
            f.sampler.pixels.clear();
            if (under.isValid())
                f.sampler.pixels[{0, 0}] = toRgb(under);
            open();
            QCOMPARE(f.hotKey.press(), readable);
            QVERIFY2(toQColor(box.color(0)) == (under.isValid() ? under : QColor(1, 1, 1)), name);
            QCOMPARE(box.nextCaptureSlot(), under.isValid() ? 1 : 0);
            picker->close();
            QTRY_VERIFY(!f.form->picker());
        }
    }

    // Alt+Shift+S reads at the press: a colour drawn since the last look,
    // unreported, is what is stored and shown. Where the screen reports no
    // changes, the timer's next look sees it too.
    void theKeyReadsAtThePress()
    {
        const QPoint p(40, 30);
        for (const bool watched : {true, false}) {
            f.screenWatched = watched;
            f.session->colorBox().fillColors(rgb(1, 1, 1));
            f.session->colorBox().setNextCaptureSlot(0);
            open();
            sampleAt({p, "#123456"});
            f.sampler.pixels[p] = rgb(0xFF, 0, 0x80);
            if (watched)
                QVERIFY(f.hotKey.press());
            else
                picker->sampleUnderPointer();
            QCOMPARE(text("lblData(4)"), "RGB颜色：FF0080");
            QCOMPARE(toQColor(f.session->colorBox().color(0)),
                     watched ? QColor("#FF0080") : QColor(1, 1, 1));
            picker->close();
            QTRY_VERIFY(!f.form->picker());
        }
    }

    // A save that fails while the frozen frame holds the pointer and the
    // keyboard is said once the frame has gone: a box under the frame could
    // take no input.
    void aFailedSaveWaitsForTheFrame()
    {
        f.reset();
        QVERIFY(QDir().mkdir(f.iniPath()));
        f.start();
        f.sampler.freezable = true;
        open();
        sampleAt({{5, 5}, "#123456"});
        picker->toggleFreeze();
        QTRY_VERIFY(picker->holdsScreen());
        QVERIFY(f.hotKey.press());
        QTest::qWait(2000);
        QCOMPARE(f.messages.shown, QStringList());
        picker->toggleFreeze();
        QTRY_COMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.front().contains(f.iniPath()));
    }

    // The window's menu chooses the square whose mean is the colour; the
    // choice shows at once and is kept in the settings file.
    void menuChoosesTheSampleSize()
    {
        for (int y = 8; y <= 12; ++y) { // black, ringed with white in the 3 x 3 square
            for (int x = 8; x <= 12; ++x)
                f.sampler.pixels[QPoint(x, y)] =
                    qMax(qAbs(x - 10), qAbs(y - 10)) == 1 ? kRgbWhite : Rgb();
        }
        open();
        sampleAt({{10, 10}, Qt::black});
        const std::tuple<const char *, const char *, const char *> rows[] = {
            {"menuSample3", "RGB颜色：E3E3E3", "SampleSize=3"}, // 8 · 255 / 9, half up
            {"menuSample5", "RGB颜色：525252", "SampleSize=5"}, // 8 · 255 / 25
            {"menuSample1", "RGB颜色：000000", "SampleSize=1"}};
        for (const auto &[item, shown, kept] : rows) {
            choose(item, false);
            QCOMPARE(text("lblData(4)"), QString(shown));
            QTRY_VERIFY2(f.readIni().contains(kept), f.readIni().constData());
        }
    }

    // The menu's 显示放大镜 and 色彩管理 take effect at once and are kept in
    // the settings file: the loupe goes and comes back, and the read-out
    // gives the screen's own value or the one the monitor's profile gives.
    void menuSwitchesTheLoupeAndColourManagement()
    {
        f.sampler.profiles = {test::iccProfile(test::Monitor::AdobeRgb, "Test Adobe RGB")};
        open();
        const QPoint at(10, 10);
        sampleAt({at, QColor(0x33, 0x66, 0xCC)});
        const QString managed = text("lblData(4)");
        QVERIFY2(managed != "RGB颜色：3366CC", qPrintable(managed));
        const auto loupeShown = [] {
            for (QWindow *w : QGuiApplication::topLevelWindows())
                if (w->objectName() == "Loupe" && w->isVisible())
                    return true;
            return false;
        };
        QTRY_VERIFY(loupeShown());
        const std::tuple<const char *, bool, const char *, const char *> rows[] = {
            {"menuLoupe", false, "Loupe=0", nullptr},
            {"menuColorManaged", false, "ColorManaged=0", "RGB颜色：3366CC"},
            {"menuLoupe", true, "Loupe=1", "RGB颜色：3366CC"},
            {"menuColorManaged", true, "ColorManaged=1", nullptr}};
        for (const auto &[item, on, kept, shown] : rows) {
            choose(item, !on);
            QTRY_COMPARE(loupeShown(), picker->findChild<QAction *>("menuLoupe")->isChecked());
            QCOMPARE(text("lblData(4)"), shown ? QString(shown) : managed);
            QTRY_VERIFY2(f.readIni().contains(kept), f.readIni().constData());
        }
    }

    // 延时冻结 counts down in the notice, then freezes; a screen that cannot
    // be read whole (as here) is said to be unfreezable. Freezing at once
    // calls a countdown off. The instruction stays meanwhile.
    void menuFreezesAfterACountdown()
    {
        open();
        choose("menuFreeze3");
        QCOMPARE(text("lblNotice"), "3 秒后冻结屏幕");
        QTRY_COMPARE(text("lblNotice"), "2 秒后冻结屏幕");
        QTRY_COMPARE_WITH_TIMEOUT(text("lblNotice"), "无法冻结屏幕", 4000);
        choose("menuFreeze10");
        QCOMPARE(text("lblNotice"), "10 秒后冻结屏幕");
        QCOMPARE(text("Label1"), "按Alt+Shift+S存储当前颜色");
        picker->toggleFreeze();
        QTRY_COMPARE(text("lblNotice"), "无法冻结屏幕");
    }

    // The notice says what the desktop denies, under the instruction; without
    // the screen no colour shows.
    void saysWhatTheDesktopDenies()
    {
        using R = HotKeyResult;
        for (const auto &[answer, arrows, readable, notice] :
             {std::tuple{R::Registered, R::Registered, true, ""},
              {R::Taken, R::Registered, true, "Alt+Shift+S\n已被其他程序占用"},
              {R::Unsupported, R::Registered, true, "不支持全局热键，\n无法存储颜色"},
              {R::Registered, R::Taken, true, "Alt+Shift+方向键\n已被占用，可冻结"},
              {R::Registered, R::Registered, false, "无法读取屏幕，\n取色不可用"}}) {
            f.hotKey.answer = answer;
            f.nudgeAnswer = arrows;
            f.sampler.isAvailable = readable;
            open();
            QCOMPARE(text("lblNotice"), notice);
            QCOMPARE(text("Label1"), "按Alt+Shift+S存储当前颜色");
            sampleAt({{5, 5}, QColor(1, 2, 3)});
            QCOMPARE(text("lblData(4)").isEmpty(), !readable);
            picker->close();
            QTRY_VERIFY(!f.form->picker());
        }
    }
};

QTEST_MAIN(PickerTest)
#include "picker_test.moc"
