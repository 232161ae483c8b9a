// The picker in a Wayland session: picks and the capture key go through a
// stand-in desktop portal on a private session bus this test starts.
#include "color/color_pair.h"
#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "common/app_look.h"
#include "picker/one_shot_pick.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/frame_grabber.h"
#include "platform/unavailable_platform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRasterWindow>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace tintavo;

namespace {

const QString kNotice = "无法跟随光标取色。\n按Alt+Shift+S或\n“取色”，再点选\n屏幕上的颜色";
const QString kNoKey = "无法跟随光标取色，\n也没有全局热键。\n按“取色”，再点选\n屏幕上的颜色";
const QString kNotBound = "无法跟随光标取色，\n桌面未绑定热键。\n按“取色”，再点选\n屏幕上的颜色";
const QString kNothing = "本次没有取色。\n按Alt+Shift+S或\n“取色”，再点选\n屏幕上的颜色";

// Every pixel of a frame its own colour.
QRgb patternAt(QPoint p)
{
    return qRgb(p.x() % 256, p.y() % 256, p.x() / 256 * 16 + p.y() / 256);
}

// A desktop whose screenshot is the pattern at `scale` frame pixels to a
// logical one, or that refuses with `refusal`.
struct FakeFrames : FrameGrabber
{
    int scale = 1;
    std::optional<PickOutcome> refusal;
    void grab() override
    {
        QTimer::singleShot(0, this, [this] {
            if (refusal)
                return emit failed(*refusal);
            QImage image(QGuiApplication::primaryScreen()->geometry().size() * scale,
                         QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, patternAt({x, y}));
            const QRect logical = QGuiApplication::primaryScreen()->geometry();
            emit grabbed({image.size(), image.bytesPerLine(),
                          std::shared_ptr<const uchar>(image.constBits(), [image](auto) {})},
                         {{QGuiApplication::primaryScreen()->name(), logical,
                           cutOutputs(image.size(), {logical}).value(0)}});
        });
    }
    bool grabbing() const override { return false; }
};

// The pattern over a whole screen, in device pixels.
struct PatternWindow : QRasterWindow
{
    void paintEvent(QPaintEvent *) override
    {
        const qreal ratio = devicePixelRatio();
        QImage image(size() * ratio, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, patternAt({x, y}));
        image.setDevicePixelRatio(ratio);
        QPainter(this).drawImage(0, 0, image);
    }
};

// The tile real_portal.sh lays on sway's background, in device pixels.
QRgb tileAt(QPoint p)
{
    return qRgb(p.x() % 64 * 4, p.y() % 64 * 4, 128);
}

// The screen as the desktop's screenshot shows it now; null if none came.
QImage grabScreen()
{
    QImage shot;
    const std::unique_ptr<FrameGrabber> frames = createFrameGrabber();
    QObject::connect(frames.get(), &FrameGrabber::grabbed, [&shot](const ScreenFrame &f) {
        shot = QImage(f.bits.get(), f.size.width(), f.size.height(), f.stride,
                      QImage::Format_RGB32)
                   .copy();
    });
    frames->grab();
    return QTest::qWaitFor([&shot] { return !shot.isNull(); }, 20000) ? shot : QImage();
}

QWindow *frameWindow()
{
    for (QWindow *w : QGuiApplication::topLevelWindows())
        if (w->objectName() == "FrozenFrame" && w->isVisible())
            return w;
    return nullptr;
}

// A program the test runs until its first line of output, ended with the test.
struct Child : QProcess
{
    Child(const QString &program, const QStringList &args)
    {
        start(program, args);
        if (!waitForStarted() || !waitForReadyRead(10000))
            qFatal("%s did not start", qPrintable(program));
    }
    ~Child() override { kill(), waitForFinished(); }
};

} // namespace

class PortalPickerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Child> m_bus, m_portal;
    ColorBoxModel m_box;
    UnavailableScreenSampler m_sampler;
    UnavailableGlobalHotKey m_hotKey;

    PickerWindow *openPicker()
    {
        auto *picker = createPicker(m_box, m_sampler, m_hotKey, createDesktopPicking()).release();
        picker->show();
        return picker;
    }

    static QString noticeOf(PickerWindow *picker)
    {
        QTextDocument text;
        text.setHtml(picker->findChild<QLabel *>("lblNotice")->text());
        return text.toPlainText().replace(QChar::LineSeparator, QLatin1Char('\n'));
    }

    static void pick(PickerWindow *picker)
    {
        QTest::mouseClick(picker->findChild<QPushButton *>("cmdPick"), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        setUpApplicationLook(*qApp);
        m_box.addSwatches(3);
        // Else a script set a real desktop's bus up.
        if (!qEnvironmentVariableIsSet("REAL_PORTAL_COLOR") &&
            !qEnvironmentVariableIsSet("REAL_PORTAL_SCALE") &&
            !qEnvironmentVariableIsSet("REAL_KEY_PRESS")) {
            m_bus = std::make_unique<Child>(
                "dbus-daemon",
                QStringList{"--config-file=" PRIVATE_BUS_CONF, "--nofork", "--print-address=1"});
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus->readLine().trimmed());
        }
    }

    void picksThroughThePortal_data()
    {
        QTest::addColumn<QStringList>("portal"); // empty: none on the bus
        QTest::addColumn<QString>("noticeAfter");
        QTest::addColumn<int>("stored"); // -1: nothing
        QTest::newRow("picked") << QStringList{"--color", "0.2,0.4,0.8"} << "已存入颜色 1：#3366CC"
                                << packRgb(51, 102, 204);
        QTest::newRow("cancelled") << QStringList{"--cancel"} << kNothing << -1;
        QTest::newRow("ended otherwise (Escape on wlroots)")
            << QStringList{"--ended"} << kNothing << -1;
        QTest::newRow("error") << QStringList{"--error"} << "取色服务出错，\n未能取色" << -1;
        QTest::newRow("old version") << QStringList{"--screenshot-version", "1"}
                                     << "此桌面的取色服务\n版本过旧，不支持取色" << -1;
        QTest::newRow("no portal") << QStringList{} << "此桌面没有取色服务，\n无法取色" << -1;
        QTest::newRow("no global shortcuts") << QStringList{"--no-shortcuts", "--color", "1,0.5,0"}
                                             << "已存入颜色 1：#FF8000" << packRgb(255, 128, 0);
        QTest::newRow("shortcut bound to nothing")
            << QStringList{"--bind-nothing", "--color", "0,0,0"} << "已存入颜色 1：#000000" << 0;
        QTest::newRow("shortcut bound with the session (KDE Plasma 5.27)")
            << QStringList{"--bind-at-session", "--color", "0,0,0"} << "已存入颜色 1：#000000" << 0;
        QTest::newRow("shortcut bound with the session to no key")
            << QStringList{"--bind-at-session", "--no-trigger", "--color", "0,0,0"}
            << "已存入颜色 1：#000000" << 0;
        QTest::newRow("never answers")
            << QStringList{"--silent"} << "取色服务没有应答，\n未能取色" << -1;
    }

    void picksThroughThePortal()
    {
        QFETCH(QStringList, portal);
        QFETCH(QString, noticeAfter);
        QFETCH(int, stored);
        if (!m_bus)
            QSKIP("a real portal is on the bus");
        m_portal.reset(); // gives up the portal's name first
        m_portal.reset(portal.isEmpty() ? nullptr : new Child(PORTAL_STANDIN, portal));
        m_box.fillColors(kRgbWhite);
        m_box.setNextCaptureSlot(1);
        PickerWindow *picker = openPicker();
        const bool key = !portal.isEmpty() && !portal.contains("--no-shortcuts");
        const bool notBound = portal.contains("--bind-nothing") || portal.contains("--no-trigger");
        const QString before = notBound ? kNotBound : key ? kNotice : kNoKey;
        QTRY_COMPARE(noticeOf(picker), before);
        // Bound with the session: asking again would only open the desktop's settings.
        if (portal.contains("--bind-at-session"))
            QVERIFY(!m_portal->readAll().contains("BindShortcuts"));
        // The desktop hands out one pixel: no square to average.
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {}, picker->mapToGlobal(QPoint()));
        QApplication::sendEvent(picker, &menuKey);
        for (const char *size : {"menuSample1", "menuSample3", "menuSample5"})
            QVERIFY(!picker->findChild<QAction *>(size)->isEnabled());
        QApplication::activePopupWidget()->close();

        pick(picker);
        QTRY_COMPARE_WITH_TIMEOUT(noticeOf(picker), noticeAfter, 10000);
        QTest::qWait(200); // nothing more comes
        QCOMPARE(noticeOf(picker), noticeAfter);
        QCOMPARE(m_box.nextCaptureSlot(), stored < 0 ? 1 : 2);
        QCOMPARE(m_box.color(1), stored < 0 ? kRgbWhite : toRgb(stored));
        if (stored >= 0) {
            QWidget *swatch = picker->findChild<QWidget *>("Picture1");
            QCOMPARE(swatch->grab().toImage().pixel(swatch->rect().center()),
                     toQColor(toRgb(stored)).rgb());
            QCOMPARE(picker->findChild<QLabel *>("lblData(4)")->text(),
                     "RGB颜色：" + toQColor(toRgb(stored)).name().mid(1).toUpper());
        }

        // Whatever went wrong, the picker still picks once the portal answers.
        m_portal.reset();
        m_portal = std::make_unique<Child>(PORTAL_STANDIN, QStringList{"--color", "0,0,1"});
        pick(picker);
        QTRY_COMPARE(m_box.color(stored < 0 ? 1 : 2), rgb(0, 0, 255));
        picker->close();
    }

    void picksOnTheDesktopsFrame_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("refusal"); // -1: none
        QTest::newRow("frame at the screen's scale") << 1 << -1;
        QTest::newRow("frame at twice its scale") << 2 << -1;
        QTest::newRow("no screenshot service") << 1 << int(PickOutcome::Missing);
    }

    void picksOnTheDesktopsFrame()
    {
        QFETCH(int, scale);
        QFETCH(int, refusal);
        if (!m_bus)
            QSKIP("a real portal is on the bus");
        m_portal.reset();
        m_portal = std::make_unique<Child>(PORTAL_STANDIN, QStringList{"--color", "0,0,1"});
        m_box.fillColors(kRgbWhite);
        m_box.setNextCaptureSlot(0);
        PickerOptions options{.makeFrameGrabber = [&] {
            auto frames = std::make_unique<FakeFrames>();
            frames->scale = scale;
            if (refusal >= 0)
                frames->refusal = PickOutcome(refusal);
            return frames;
        }};
        auto *picker =
            createPicker(m_box, m_sampler, m_hotKey, createDesktopPicking(), options).release();
        picker->show();
        const QString notice = "无法跟随光标取色。\n按Alt+Shift+S或\n“取色”，再在截图\n上点选颜色";
        QTRY_COMPARE(noticeOf(picker), notice);
        pick(picker);
        if (refusal >= 0) {
            // Said once (after where the colour went), and the desktop's own
            // pick stands in.
            QTRY_COMPARE(m_box.color(0), rgb(0, 0, 255));
            QCOMPARE(noticeOf(picker), "已存入颜色 0：#0000FF");
            QTRY_COMPARE_WITH_TIMEOUT(noticeOf(picker),
                                      "截图服务不可用，\n已改用桌面取色：\n点选屏幕上的颜色", 5000);
            pick(picker);
            QTRY_COMPARE(m_box.color(1), rgb(0, 0, 255));
            QCOMPARE(noticeOf(picker), "已存入颜色 1：#0000FF");
            picker->close();
            return;
        }
        QTRY_VERIFY(frameWindow());
        QWindow *frame = frameWindow();
        QTest::mouseMove(frame, {30, 40});
        QTest::keyClick(frame, Qt::Key_Right);
        QTest::keyClick(frame, Qt::Key_Return);
        const QPoint at(30 * scale + 1, 40 * scale);
        QTRY_COMPARE(toQColor(m_box.color(0)).rgb(), patternAt(at));
        QCOMPARE(picker->findChild<QLabel *>("lblData(4)")->text(),
                 "RGB颜色：" + QColor(patternAt(at)).name().mid(1).toUpper());
        if (scale == 1) {
            // On the screen, once drawn: the pixel stored, ringed dark then light.
            const auto shown = [frame](QPoint p) {
                return frame->screen()->grabWindow(frame->winId()).toImage().pixel(p);
            };
            // Light two pixels left of it only once the ring has moved there.
            QTRY_COMPARE(shown(at - QPoint(2, 0)), qRgb(255, 255, 255));
            QCOMPARE(shown(at + QPoint(0, 1)), qRgb(0, 0, 0));
            QCOMPARE(shown(at), patternAt(at));
        }
        // The frame stays for more picks; a click picks where it is.
        QTest::mouseClick(frame, Qt::LeftButton, {}, {50, 20});
        QTRY_COMPARE(toQColor(m_box.color(1)).rgb(), patternAt(QPoint(50, 20) * scale));
        QTest::keyClick(frame, Qt::Key_Escape);
        QTRY_VERIFY(!frameWindow());
        QCOMPARE(noticeOf(picker), notice);
        picker->close();
    }

    // A region's read-out names the text colour it measures under the
    // figures, which Ctrl+C copies alone; the colour-vision label, which
    // would stand in that corner, goes elsewhere.
    void regionReadoutNamesTheTextColour()
    {
        if (!m_bus)
            QSKIP("a real portal is on the bus");
        m_portal.reset();
        m_portal = std::make_unique<Child>(PORTAL_STANDIN, QStringList{"--color", "0,0,1"});
        ColorPair pair;
        pair.setColor(PairRole::Foreground, rgb(0x12, 0x34, 0x56));
        const auto frames = [] { return std::make_unique<FakeFrames>(); };
        auto *picker = createPicker(m_box, m_sampler, m_hotKey, createDesktopPicking(),
                                    {.makeFrameGrabber = frames, .pair = &pair})
                           .release();
        picker->show();
        pick(picker);
        QTRY_VERIFY(frameWindow());
        QWindow *frame = frameWindow();
        const QRect region(4, 4, 201, 91);
        QTest::mousePress(frame, Qt::LeftButton, {}, region.topLeft());
        QTest::mouseMove(frame, region.center());
        QTest::mouseRelease(frame, Qt::LeftButton, {}, region.bottomRight());
        QTest::keyClick(frame, Qt::Key_1);
        QLabel *readout = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            readout = w->objectName() == "regionReadout" ? qobject_cast<QLabel *>(w) : readout;
        QTRY_VERIFY(readout && readout->isVisible());
        const QStringList lines = readout->text().split(u'\n');
        QCOMPARE(lines.value(1), "文字：前景色 #123456");
        QVERIFY2(lines[0].startsWith("区域 201×91  最低 "), qPrintable(lines[0]));
        QTest::keyClick(frame, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), lines[0]);
        // No label's dark ground shows over the region (the pattern has no
        // blue there).
        QTest::qWait(100);
        const QImage shown = frame->screen()->grabWindow(0).toImage().copy(region);
        int covered = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                covered += shown.pixel(x, y) == qRgb(0x20, 0x20, 0x20);
        QCOMPARE(covered, 0);
        QTest::keyClick(frame, Qt::Key_Escape);
        QTest::keyClick(frame, Qt::Key_Escape);
        QTRY_VERIFY(!frameWindow());
        picker->close();
    }

    // A screenshot the desktop does not answer at once waits for its
    // permission: the picker says so and lets the user stop waiting; one
    // refused says how to allow it for good (on KDE Plasma, whose portal
    // refuses where the pictures folder is missing: to make that) and offers
    // the desktop's pick.
    void saysWhatTheDesktopIsDoing()
    {
        if (!m_bus)
            QSKIP("a real portal is on the bus");
        const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
        const auto restore = qScopeGuard([&] { qputenv("XDG_CURRENT_DESKTOP", desktop); });
        struct Row
        {
            const char *answer, *desktop, *advice, *forGood;
        };
        const Row rows[] = {
            {"--shot-silent", "GNOME", "", ""},
            {"--shot-refuse", "GNOME", "或在隐私设置里允许",
             "flatpak permission-set screenshot screenshot \"\" yes"},
            {"--shot-refuse", "KDE", "或建好“图片”文件夹", "~/Pictures"},
        };
        for (const auto &[answer, onDesktop, advice, forGood] : rows) {
            qputenv("XDG_CURRENT_DESKTOP", onDesktop);
            m_box.fillColors(kRgbWhite);
            m_box.setNextCaptureSlot(0);
            m_portal.reset();
            m_portal =
                std::make_unique<Child>(PORTAL_STANDIN, QStringList{answer, "--color", "0,0,1"});
            auto *picker = createPicker(m_box, m_sampler, m_hotKey, createDesktopPicking(),
                                        {.makeFrameGrabber = &createFrameGrabber})
                               .release();
            picker->show();
            auto *button = picker->findChild<QPushButton *>("cmdPick");
            pick(picker);
            QTRY_COMPARE(noticeOf(picker), "等待桌面允许截图…\n桌面可能在询问，\n按“停止等待”放弃");
            QCOMPARE(button->text(), "停止等待");
            if (QByteArray(answer) == "--shot-silent") {
                pick(picker);
                QCOMPARE(noticeOf(picker),
                         "本次没有取色。\n按Alt+Shift+S或\n“取色”，再在截图\n上点选颜色");
                QCOMPARE(button->text(), "取色");
                // The portal hears the request closed, and drops its dialog.
                QByteArray said;
                QTRY_VERIFY2((said += m_portal->readAll())
                                 .contains("Close /org/freedesktop/portal/desktop/request/"),
                             said.constData());
            } else {
                QTRY_COMPARE_WITH_TIMEOUT(noticeOf(picker),
                                          QString("桌面拒绝了截图。\n可按“桌面取色”，\n") + advice,
                                          5000);
                QVERIFY(picker->findChild<QLabel *>("lblNotice")->toolTip().contains(forGood));
                QCOMPARE(button->text(), "桌面取色");
                pick(picker);
                QTRY_COMPARE(m_box.color(0), rgb(0, 0, 255));
                QCOMPARE(button->text(), "取色");
            }
            picker->close();
        }
    }

    // Run by real_portal.sh on a headless sway at output scale
    // REAL_PORTAL_SCALE: the picker and a pick for a script, each on the
    // real portal's frame, pick the pixels the crosshair rings. At a
    // fractional scale sway resamples the tile, and what it shows is the truth.
    void picksOnARealPortalsFrame()
    {
        const double scale = qEnvironmentVariable("REAL_PORTAL_SCALE").toDouble();
        if (!scale)
            QSKIP("run by real_portal.sh");
        // On GNOME and KDE (real_gnome.sh, real_kde.sh) the truth is the
        // portal's own picture, and the point lies below GNOME's top bar,
        // clear of the picker.
        const bool sway = !qEnvironmentVariableIsSet("REAL_DESKTOP");
        const QPoint point = sway ? QPoint(13, 17) : QPoint(213, 217);
        const bool whole = scale == int(scale);
        QImage before;
        // The desktop's background is one colour: a window of the pattern lies
        // under the point. GNOME shows it some time after Qt has it exposed
        // (at scale 2, half a second was too soon 2 times in 8). At a
        // fractional scale GNOME shrinks the window Qt draws at the next whole
        // scale, so the truth is GNOME's own background of distinct pixels.
        PatternWindow pattern;
        if (sway) {
            QCOMPARE(QProcess::execute("grim", {"before.png"}), 0);
            before.load("before.png");
        } else if (!whole) {
            QTRY_VERIFY_WITH_TIMEOUT(!(before = grabScreen()).isNull(), 10000);
        } else {
            pattern.showFullScreen();
            const QPoint under = point * scale;
            QTRY_VERIFY_WITH_TIMEOUT((before = grabScreen()).pixel(under) == patternAt(under), 10000);
        }
        m_box.fillColors(kRgbWhite);
        m_box.setNextCaptureSlot(0);
        auto *picker = createPicker(m_box, m_sampler, m_hotKey, createDesktopPicking(),
                                    {.picking = {.colorManaged = false},
                                     .makePointerWatch = {},
                                     .makeFrameGrabber = &createFrameGrabber})
                           .release();
        picker->show();
        pick(picker);
        QTRY_VERIFY_WITH_TIMEOUT(frameWindow() && frameWindow()->isExposed(), 10000);
        // The monitor's scale, as the picture and the full-screen window show it
        // (a logical size rounds at 1.5).
        const double k = double(before.width()) / frameWindow()->width();
        QVERIFY2(qAbs(k - scale) < 0.01, qPrintable(QString::number(k)));
        const auto device = [k](QPoint p) { return QPoint(int(p.x() * k), int(p.y() * k)); };
        QTest::mouseMove(frameWindow(), point);
        QTest::keyClick(frameWindow(), Qt::Key_Right);
        QTest::keyClick(frameWindow(), Qt::Key_Return);
        const QPoint at = device(point) + QPoint(1, 0);
        QTRY_COMPARE(toQColor(m_box.color(0)).rgb(), before.pixel(at));
        if (whole && sway) {
            QCOMPARE(before.pixel(at), tileAt(at));
            // What sway shows: that pixel, ringed dark then light.
            QTest::qWait(300);
            QCOMPARE(QProcess::execute("grim", {"shown.png"}), 0);
            const QImage shown("shown.png");
            QCOMPARE(shown.pixel(at), tileAt(at));
            QCOMPARE(shown.pixel(at + QPoint(0, 1)), qRgb(0, 0, 0));
            QCOMPARE(shown.pixel(at - QPoint(2, 0)), qRgb(255, 255, 255));
        }
        picker->close();
        QTRY_VERIFY(!frameWindow());
        // GNOME shows a closed window a moment longer, as its closing effect:
        // a screenshot taken then has the old frame, crosshair and all, where
        // the next click goes.
        const QRect around(device(point) - QPoint(16, 16), QSize(33, 33));
        if (!sway)
            QTRY_VERIFY_WITH_TIMEOUT(grabScreen().copy(around) == before.copy(around), 10000);

        // On the tile the mean of 3 × 3 is the middle's.
        OneShotPick once(
            createDesktopPicking(), createFrameGrabber(),
            {.loupe = true, .sampleSize = whole && sway ? 3 : 1, .colorManaged = false});
        QSignalSpy picked(&once, &OneShotPick::picked);
        once.start();
        QTRY_VERIFY_WITH_TIMEOUT(frameWindow() && frameWindow()->isExposed(), 10000);
        QTest::mouseClick(frameWindow(), Qt::LeftButton, {}, point);
        QTRY_COMPARE(picked.count(), 1);
        QCOMPARE(toQColor(picked[0][0].value<Rgb>()).rgb(), before.pixel(device(point)));
    }

    // Run by real_kde.sh on a headless KWin: Alt+Shift+S, bound through the
    // real portal and pressed through KWin's fake input (REAL_KEY_PRESS runs
    // tests/support/kwin_fake_input), starts a pick on a fresh frame, where
    // Return, pressed the same way, stores the ringed pixel.
    void capturesWithARealDesktopsKey()
    {
        const QString press = qEnvironmentVariable("REAL_KEY_PRESS");
        if (press.isEmpty())
            QSKIP("run by real_kde.sh");
        m_box.fillColors(kRgbWhite);
        m_box.setNextCaptureSlot(0);
        PickerOptions options;
        options.makeFrameGrabber = &createFrameGrabber;
        std::unique_ptr<DesktopPicking> desktop = createDesktopPicking();
        QSignalSpy bound(desktop.get(), &DesktopPicking::keyBound);
        auto *picker =
            createPicker(m_box, m_sampler, m_hotKey, std::move(desktop), options).release();
        picker->show();
        QTRY_COMPARE_WITH_TIMEOUT(bound.count(), 1, 10000);
        QCOMPARE(bound[0][0].value<PickOutcome>(), PickOutcome::Success);
        QCOMPARE(noticeOf(picker),
                 "无法跟随光标取色。\n按Alt+Shift+S或\n“取色”，再在截图\n上点选颜色");
        QCOMPARE(QProcess::execute(press, {"keys", "56", "42", "31"}), 0);
        QTRY_VERIFY_WITH_TIMEOUT(frameWindow() && frameWindow()->isExposed(), 10000);
        QTest::qWait(300);
        QCOMPARE(QProcess::execute(press, {"keys", "28"}), 0);
        QTRY_COMPARE(m_box.nextCaptureSlot(), 1);
        QCOMPARE(noticeOf(picker), "已存入颜色 0：" + toQColor(m_box.color(0)).name().toUpper());
        QTest::keyClick(frameWindow(), Qt::Key_Escape);
        picker->close();
        QTRY_VERIFY(!frameWindow());
    }

    // Run by real_portal.sh against xdg-desktop-portal on a headless sway.
    void picksFromARealPortal()
    {
        const QByteArray expected = qgetenv("REAL_PORTAL_COLOR");
        if (expected.isEmpty())
            QSKIP("run by real_portal.sh");
        m_box.fillColors(kRgbWhite);
        m_box.setNextCaptureSlot(0);
        pick(openPicker());
        QTRY_COMPARE_WITH_TIMEOUT(toColorValue(m_box.color(0)), expected.toInt(), 20000);
    }
};

QTEST_MAIN(PortalPickerTest)
#include "portal_picker_test.moc"
