// Off the xcb platform the factories must hand out services that say so,
// rather than touching a display connection that is not there.
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"

#include <QGuiApplication>
#include <QTest>

using namespace tintavo;

class PlatformOffscreenTest : public QObject
{
    Q_OBJECT

private slots:
    void servicesSayTheyAreUnavailable()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        auto sampler = createScreenSampler();
        QVERIFY(!sampler->available());
        QVERIFY(!sampler->pixelColor({3, 4}));
        auto hotKey = createGlobalHotKey();
        QCOMPARE(
            hotKey->registerKey(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S)),
            HotKeyResult::Unsupported);
    }
};

QTEST_MAIN(PlatformOffscreenTest)
#include "platform_offscreen_test.moc"
