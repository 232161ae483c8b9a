// The picker in a Wayland session: picks and the capture key go through a
// stand-in desktop portal on a private session bus this test starts.
#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "common/app_look.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/unavailable_platform.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

using namespace tintavo;

namespace {

const QString kNotice = "无法跟随光标取色。\n按Alt+Shift+S或\n“取色”，再点选\n屏幕上的颜色";
const QString kNoKey = "无法跟随光标取色，\n也没有全局热键。\n按“取色”，再点选\n屏幕上的颜色";
const QString kNothing = "本次没有取色。\n按Alt+Shift+S或\n“取色”，再点选\n屏幕上的颜色";

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
        auto *picker = new PickerWindow(m_box, m_sampler, m_hotKey, createDesktopPicking());
        picker->show();
        return picker;
    }

    static QString noticeOf(PickerWindow *picker)
    {
        QTextDocument text;
        text.setHtml(picker->findChild<QLabel *>("Label1")->text());
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
        if (!qEnvironmentVariableIsSet("REAL_PORTAL_COLOR")) { // else real_portal.sh set a bus up
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
        QTest::newRow("picked") << QStringList{"--color", "0.2,0.4,0.8"} << kNotice
                                << packRgb(51, 102, 204);
        QTest::newRow("cancelled") << QStringList{"--cancel"} << kNothing << -1;
        QTest::newRow("ended otherwise (Escape on wlroots)")
            << QStringList{"--ended"} << kNothing << -1;
        QTest::newRow("error") << QStringList{"--error"} << "取色服务出错，\n未能取色" << -1;
        QTest::newRow("old version") << QStringList{"--screenshot-version", "1"}
                                     << "此桌面的取色服务\n版本过旧，不支持取色" << -1;
        QTest::newRow("no portal") << QStringList{} << "此桌面没有取色服务，\n无法取色" << -1;
        QTest::newRow("no global shortcuts") << QStringList{"--no-shortcuts", "--color", "1,0.5,0"}
                                             << kNoKey << packRgb(255, 128, 0);
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
        m_box.nextCaptureSlot = 1;
        PickerWindow *picker = openPicker();
        const bool key = !portal.isEmpty() && !portal.contains("--no-shortcuts");
        QTRY_COMPARE(noticeOf(picker), key ? kNotice : kNoKey);
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
        QCOMPARE(m_box.nextCaptureSlot, stored < 0 ? 1 : 2);
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

    // Run by real_portal.sh against xdg-desktop-portal on a headless sway.
    void picksFromARealPortal()
    {
        const QByteArray expected = qgetenv("REAL_PORTAL_COLOR");
        if (expected.isEmpty())
            QSKIP("run by real_portal.sh");
        m_box.fillColors(kRgbWhite);
        m_box.nextCaptureSlot = 0;
        pick(openPicker());
        QTRY_COMPARE_WITH_TIMEOUT(toColorValue(m_box.color(0)), expected.toInt(), 20000);
    }
};

QTEST_MAIN(PortalPickerTest)
#include "portal_picker_test.moc"
