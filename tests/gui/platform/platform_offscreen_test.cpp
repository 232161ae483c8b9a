// Off the xcb platform the factories must hand out services that say so,
// rather than touching a display connection that is not there.
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using namespace tintavo;

class PlatformOffscreenTest : public QObject
{
    Q_OBJECT

private slots:
    void runsOffscreen() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen")); }

    void samplerIsNotAvailable()
    {
        auto sampler = createScreenSampler();
        QVERIFY(sampler);
        QVERIFY(!sampler->available());
        QCOMPARE(sampler->cursorPos(), QPoint(0, 0));
        QCOMPARE(sampler->windowFromPoint({3, 4}), quintptr(0));
        QCOMPARE(sampler->pixelAt(0, {3, 4}), kClrInvalid);
        QCOMPARE(sampler->screenPixel({3, 4}), kClrInvalid);
    }

    void hotKeyIsNotAvailable()
    {
        auto hotKey = createGlobalHotKey();
        QVERIFY(hotKey);
        QSignalSpy spy(hotKey.get(), &GlobalHotKey::hotKeyMessage);
        const HotKeyRegistration r = hotKey->registerHotKey(1, 1, kModAlt | kModShift, 83);
        QCOMPARE(r.result, HotKeyResult::NotAvailable);
        QVERIFY(!r.errorText.isEmpty());
        QVERIFY(!hotKey->unregisterHotKey(1, 1));
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(PlatformOffscreenTest)
#include "platform_offscreen_test.moc"
