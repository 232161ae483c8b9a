// The program under its application id on a private session bus the test
// starts: the desktop's calls arrive as what they ask, an action the program
// does not have is refused, a second copy leaves the name to the first, and
// with no copy running the caller hears so.
#include "platform/session_bus/application_service.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <future>

using namespace tintavo;

namespace {

const QString kId = QStringLiteral("io.github.tintavo.Test");

} // namespace

class ApplicationServiceTest : public QObject
{
    Q_OBJECT

    QProcess m_bus;
    QString m_address;
    int m_connections = 0;

    QDBusConnection newConnection()
    {
        return QDBusConnection::connectToBus(m_address, QString::number(++m_connections));
    }

    Forwarded forward(const QString &action)
    {
        // From another thread: this one must serve the call.
        std::future<Forwarded> done =
            std::async(std::launch::async, [bus = newConnection(), action] {
                return forwardActionOn(bus, kId, action, 5000);
            });
        const auto finished = [&done] {
            return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        };
        for (int waited = 0; !finished() && waited < 100; ++waited)
            QTest::qWait(50);
        return done.get();
    }

private slots:
    void initTestCase()
    {
        m_bus.start("dbus-daemon",
                    {"--config-file=" PRIVATE_BUS_CONF, "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_bus.readLine().trimmed());
    }

    void cleanupTestCase() { m_bus.kill(), m_bus.waitForFinished(); }

    void reachesTheCopyThatRuns()
    {
        QCOMPARE(forward("capture"), Forwarded::NoCopy);
        ApplicationService first(newConnection(), kId, {"capture", "freeze"});
        QSignalSpy published(&first, &ApplicationService::publishDone);
        first.publish();
        QTRY_COMPARE(published.count(), 1);
        QVERIFY(first.published());

        QSignalSpy actions(&first, &AppActivation::actionRequested);
        QCOMPARE(forward("freeze"), Forwarded::Delivered);
        QCOMPARE(forward("capture"), Forwarded::Delivered);
        QCOMPARE(forward("paint"), Forwarded::Refused);
        QCOMPARE(actions.count(), 2);
        QCOMPARE(actions[0][0].toString(), "freeze");
        QCOMPARE(actions[1][0].toString(), "capture");

        QSignalSpy activated(&first, &AppActivation::activated);
        QDBusConnection caller = newConnection();
        for (const char *method : {"Activate", "Open"}) {
            QDBusMessage call = QDBusMessage::createMethodCall(
                kId, "/io/github/tintavo/Test", "org.freedesktop.Application", method);
            if (QByteArray(method) == "Open")
                call << QStringList{"file:///tmp/x"};
            call << QVariantMap{{"desktop-startup-id", "x"}};
            caller.asyncCall(call);
        }
        QTRY_COMPARE(activated.count(), 2);

        ApplicationService second(newConnection(), kId, {"capture"});
        QSignalSpy secondPublished(&second, &ApplicationService::publishDone);
        second.publish();
        QTRY_COMPARE(secondPublished.count(), 1);
        QVERIFY(!second.published());
        QCOMPARE(forward("capture"), Forwarded::Delivered);
        QCOMPARE(actions.count(), 3);
    }
};

QTEST_GUILESS_MAIN(ApplicationServiceTest)
#include "application_service_test.moc"
