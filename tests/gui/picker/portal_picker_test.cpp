// The picker in a Wayland session: picks and the capture key go through a
// stand-in desktop portal on a private session bus this test starts.
#include "colorbox/color_box_model.h"
#include "colorbox/random_source.h"
#include "common/qt_color.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/unavailable_platform.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

using namespace tintavo;

namespace {

const QString kNotice =
    QStringLiteral("此桌面无法跟随光标取色。按Alt+Shift+S或“取色”后点选屏幕颜色");
const QString kNoKey =
    QStringLiteral("此桌面无法跟随光标取色，也没有全局热键。按“取色”后点选屏幕颜色");

// A program the test runs, ended with the test.
struct Child : QProcess
{
    ~Child() override
    {
        kill();
        waitForFinished();
    }
};

// Starts a program and waits for its first line of output.
std::unique_ptr<Child> startAndWait(const QString &program, const QStringList &args)
{
    auto process = std::make_unique<Child>();
    process->start(program, args);
    if (!process->waitForStarted() || !process->waitForReadyRead(10000))
        qFatal("%s did not start", qPrintable(program));
    return process;
}

} // namespace

class PortalPickerTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<Child> m_bus, m_portal;
    ColorBoxModel m_box;
    UnavailableScreenSampler m_sampler;
    UnavailableGlobalHotKey m_hotKey;

    void startPortal(const QStringList &args)
    {
        m_portal.reset();
        if (args != QStringList{QStringLiteral("none")})
            m_portal = startAndWait(QStringLiteral(PORTAL_STANDIN), args);
    }

    static QString noticeOf(PickerWindow *picker)
    {
        QTextDocument text;
        text.setHtml(picker->findChild<QLabel *>(QStringLiteral("Label1"))->text());
        return text.toPlainText();
    }

    static QRgb swatchPixel(PickerWindow *picker)
    {
        QWidget *swatch = picker->findChild<QWidget *>(QStringLiteral("Picture1"));
        return swatch->grab().toImage().pixel(swatch->width() / 2, swatch->height() / 2);
    }

    static void pick(PickerWindow *picker)
    {
        QTest::mouseClick(picker->findChild<QPushButton *>(QStringLiteral("cmdPick")),
                          Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        RandomSource random;
        m_box.AddPics(3, random);
        if (qEnvironmentVariableIsSet("REAL_PORTAL_COLOR"))
            return; // on the session bus real_portal.sh set up
        m_bus = startAndWait(QStringLiteral("dbus-daemon"),
                             {QStringLiteral("--config-file=" PRIVATE_BUS_CONF),
                              QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus->readLine().trimmed());
    }

    void cleanup() { m_portal.reset(); }

    void picksThroughThePortal_data()
    {
        QTest::addColumn<QStringList>("portal");
        QTest::addColumn<QString>("noticeAfter");
        QTest::addColumn<int>("stored"); // -1: nothing
        const QString base = kNotice;
        QTest::newRow("picked") << QStringList{"--color", "0.2,0.4,0.8"} << base
                                << RGB(51, 102, 204);
        QTest::newRow("cancelled") << QStringList{"--cancel"} << base << -1;
        QTest::newRow("error") << QStringList{"--error"} << "取色服务出错，未能取色" << -1;
        QTest::newRow("old version") << QStringList{"--screenshot-version", "1"}
                                     << "此桌面的取色服务版本过旧，不支持取色" << -1;
        QTest::newRow("no portal")
            << QStringList{"none"} << "此桌面没有取色服务（xdg-desktop-portal），无法取色" << -1;
        QTest::newRow("no global shortcuts")
            << QStringList{"--no-shortcuts", "--color", "1,0.5,0"} << kNoKey << RGB(255, 128, 0);
        QTest::newRow("never answers")
            << QStringList{"--silent"} << "取色服务没有应答，未能取色" << -1;
    }

    void picksThroughThePortal()
    {
        QFETCH(QStringList, portal);
        QFETCH(QString, noticeAfter);
        QFETCH(int, stored);
        if (!m_bus)
            QSKIP("a real portal is on the bus");
        startPortal(portal);
        m_box.fillColors(kWhite);
        m_box.lPicIndex = 1;
        auto *picker = new PickerWindow(m_box, m_sampler, m_hotKey, createDesktopPicking());
        picker->show();
        QVERIFY(QTest::qWaitForWindowExposed(picker));
        const QString bound =
            portal.contains("--no-shortcuts") || portal == QStringList{"none"} ? kNoKey : kNotice;
        QTRY_COMPARE(noticeOf(picker), bound);

        pick(picker);
        QTRY_COMPARE_WITH_TIMEOUT(noticeOf(picker), noticeAfter, 10000);
        QTest::qWait(200); // nothing more comes
        QCOMPARE(noticeOf(picker), noticeAfter);
        if (stored < 0) {
            QCOMPARE(m_box.color(1), kWhite);
            QCOMPARE(m_box.lPicIndex, 1);
        } else {
            QCOMPARE(m_box.color(1), stored);
            QCOMPARE(m_box.lPicIndex, 2);
            QCOMPARE(swatchPixel(picker), toQColor(stored).rgb());
            QCOMPARE(picker->findChild<QLabel *>(QStringLiteral("lblData(4)"))->text(),
                     QStringLiteral("RGB颜色：") + QString::number(stored, 16).toUpper());
        }

        // Whatever went wrong, the picker is still there and picks again once
        // the portal answers.
        startPortal({QStringLiteral("--color"), QStringLiteral("0,0,1")});
        pick(picker);
        QTRY_COMPARE(m_box.color(stored < 0 ? 1 : 2), RGB(0, 0, 255));
        picker->close();
    }

    void picksFromARealPortal()
    {
        const QByteArray expected = qgetenv("REAL_PORTAL_COLOR");
        if (expected.isEmpty())
            QSKIP("run by real_portal.sh");
        m_box.fillColors(kWhite);
        m_box.lPicIndex = 0;
        auto *picker = new PickerWindow(m_box, m_sampler, m_hotKey, createDesktopPicking());
        picker->show();
        pick(picker);
        QTRY_COMPARE_WITH_TIMEOUT(m_box.color(0), expected.toInt(), 20000);
        picker->close();
    }
};

QTEST_MAIN(PortalPickerTest)
#include "portal_picker_test.moc"
