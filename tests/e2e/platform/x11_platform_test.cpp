// The screen sampler and the global hot key against a real X server: pixels
// drawn by another client are read back exactly, and real key presses sent
// through XTEST reach the program once each.
#include "picker/mm1.h"
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"
#include "x_client.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace tintavo;
using tintavo::test::XClient;

namespace {

constexpr quint32 kKeysymS = 's';
constexpr quint32 kKeysymD = 'd';
constexpr quint16 kAltShift = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_1;
constexpr quintptr kWindow = 0x1234;
constexpr qint32 kAltShiftS = 0x00530005;

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// Lets every event the server has sent so far reach the program, so that a
// count taken afterwards includes anything a key press may still cause.
void settle()
{
    QTest::qWait(300);
}

} // namespace

class X11PlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void samplerIsAvailable();
    void cursorPosIsNativeRootPosition_data();
    void cursorPosIsNativeRootPosition();
    void everySampledPixelOfPatternIsExact();
    void pixelAtUsesClientCoordinatesOfWindow();
    void windowFromPointFindsPatternWindow();
    void offScreenAndGoneWindowsAreInvalid();
    void titleBarGivesNegativeClientY();

    void pressDeliversOneMessage_data();
    void pressDeliversOneMessage();
    void heldKeyDeliversOneMessage();
    void keyHeldByAnotherProgramIsTaken();
    void partlyTakenKeyReleasesWhatItGrabbed();
    void unregisterReleasesKey();
    void destructionReleasesKey();
    void sameCombinationTwiceIsTaken();
    void twoKeysReportTheirOwnIds();
    void unusableKeysAreNotAvailable();
    void hotKeyModuleSavesOncePerPress();

private:
    bool canBeGrabbedByOther(xcb_keycode_t keycode);

    std::unique_ptr<XClient> m_other;
    std::unique_ptr<ScreenSampler> m_sampler;
    QSize m_rootSize;
    xcb_keycode_t m_s = 0;
    xcb_keycode_t m_d = 0;
    quint16 m_numLock = 0;
};

void X11PlatformTest::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    m_other = std::make_unique<XClient>();
    QVERIFY(m_other->ok());
    m_rootSize = m_other->rootSize();
    m_s = m_other->keycodeFor(kKeysymS);
    m_d = m_other->keycodeFor(kKeysymD);
    m_numLock = m_other->numLockMask();
    QVERIFY(m_s != 0 && m_d != 0);
    QVERIFY(m_numLock != 0);
    m_sampler = createScreenSampler();
    QVERIFY(m_sampler);
}

void X11PlatformTest::cleanup()
{
    // Leave the lock keys off for the next test whatever happened.
    xcb_get_keyboard_control_reply_t *control = xcb_get_keyboard_control_reply(
        m_other->connection(), xcb_get_keyboard_control(m_other->connection()), nullptr);
    if (control) {
        if (control->led_mask & 1u)
            xdotool({"key", "Caps_Lock"});
        if (control->led_mask & 2u)
            xdotool({"key", "Num_Lock"});
        std::free(control);
    }
}

void X11PlatformTest::samplerIsAvailable()
{
    QVERIFY(m_sampler->available());
}

void X11PlatformTest::cursorPosIsNativeRootPosition_data()
{
    QTest::addColumn<QPoint>("point");
    const int w = m_rootSize.width();
    const int h = m_rootSize.height();
    QTest::newRow("origin") << QPoint(0, 0);
    QTest::newRow("bottom-right pixel") << QPoint(w - 1, h - 1);
    QTest::newRow("odd point") << QPoint(333, 777 % h);
    QTest::newRow("left of middle") << QPoint(w / 2 - 1, h / 2);
    QTest::newRow("right of middle") << QPoint(w / 2, h / 2 + 1);
    QTest::newRow("far right top") << QPoint(w - 1, 0);
}

void X11PlatformTest::cursorPosIsNativeRootPosition()
{
    QFETCH(QPoint, point);
    m_other->warpPointer(point);
    QCOMPARE(m_sampler->cursorPos(), point);
}

void X11PlatformTest::everySampledPixelOfPatternIsExact()
{
    const xcb_window_t pattern = m_other->showPatternWindow();
    const int w = m_rootSize.width();
    const int h = m_rootSize.height();
    QList<int> xs;
    QList<int> ys;
    for (int x = 0; x < w; x += 37)
        xs << x;
    for (int y = 0; y < h; y += 41)
        ys << y;
    // Edges and the middle, where two monitors meet when the screen is split.
    xs << 1 << 255 << 256 << w / 2 - 1 << w / 2 << w - 2 << w - 1;
    ys << 1 << 255 << 256 << h / 2 << h - 2 << h - 1;
    int checked = 0;
    int wrong = 0;
    QString firstWrong;
    for (int y : ys) {
        for (int x : xs) {
            const QPoint p(x, y);
            const ColorValue got = m_sampler->screenPixel(p);
            ++checked;
            if (got != test::patternColor(p)) {
                if (wrong++ == 0)
                    firstWrong = QStringLiteral("(%1,%2): got %3, want %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(got, 0, 16)
                                     .arg(test::patternColor(p), 0, 16);
            }
        }
    }
    m_other->destroyWindow(pattern);
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 of %2 pixels wrong, first %3")
                                        .arg(wrong)
                                        .arg(checked)
                                        .arg(firstWrong)));
    QVERIFY(checked > 1000);
}

void X11PlatformTest::pixelAtUsesClientCoordinatesOfWindow()
{
    const xcb_window_t pattern = m_other->showPatternWindow();
    // A window that is not at the origin: the managed client window, if the
    // window manager framed one, or a plain child of the pattern.
    const xcb_window_t child = xcb_generate_id(m_other->connection());
    const quint32 values[] = {0}; // background none: shows what lies under it
    xcb_create_window(m_other->connection(), XCB_COPY_FROM_PARENT, child, pattern, 300, 200, 50, 40,
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXMAP,
                      values);
    xcb_map_window(m_other->connection(), child);
    m_other->sync();

    // Straight away, with no conversion made before.
    QCOMPARE(m_sampler->pixelAt(child, {0, 0}), test::patternColor({300, 200}));
    QCOMPARE(m_sampler->pixelAt(child, {49, 39}), test::patternColor({349, 239}));
    const QPoint screen(310, 215);
    QCOMPARE(m_sampler->windowFromPoint(screen), quintptr(child));
    const QPoint client = m_sampler->screenToClient(child, screen);
    QCOMPARE(client, QPoint(10, 15));
    QCOMPARE(m_sampler->pixelAt(child, client), test::patternColor(screen));
    QCOMPARE(m_sampler->pixelAt(child, client), test::patternColor(screen)); // and again
    // Outside the window's own rectangle the screen is read all the same.
    QCOMPARE(m_sampler->screenToClient(child, QPoint(290, 190)), QPoint(-10, -10));
    QCOMPARE(m_sampler->pixelAt(child, QPoint(-10, -10)), test::patternColor({290, 190}));
    // Window 0 takes desktop points.
    QCOMPARE(m_sampler->pixelAt(0, screen), test::patternColor(screen));
    m_other->destroyWindow(pattern);
}

void X11PlatformTest::windowFromPointFindsPatternWindow()
{
    const xcb_window_t pattern = m_other->showPatternWindow();
    QCOMPARE(m_sampler->windowFromPoint({5, 5}), quintptr(pattern));
    QCOMPARE(m_sampler->windowFromPoint({m_rootSize.width() - 1, m_rootSize.height() - 1}),
             quintptr(pattern));
    QCOMPARE(m_sampler->screenToClient(pattern, {17, 19}), QPoint(17, 19));
    m_other->destroyWindow(pattern);
}

void X11PlatformTest::offScreenAndGoneWindowsAreInvalid()
{
    const int w = m_rootSize.width();
    const int h = m_rootSize.height();
    QCOMPARE(m_sampler->screenPixel({-1, 0}), kClrInvalid);
    QCOMPARE(m_sampler->screenPixel({0, -1}), kClrInvalid);
    QCOMPARE(m_sampler->screenPixel({w, 0}), kClrInvalid);
    QCOMPARE(m_sampler->screenPixel({0, h}), kClrInvalid);
    QCOMPARE(m_sampler->screenPixel({100000, 5}), kClrInvalid);
    QVERIFY(m_sampler->screenPixel({w - 1, h - 1}) != kClrInvalid);

    const xcb_window_t gone = xcb_generate_id(m_other->connection());
    QCOMPARE(m_sampler->pixelAt(gone, {1, 1}), kClrInvalid);
    QCOMPARE(m_sampler->screenToClient(gone, {7, 8}), QPoint(7, 8));
    QCOMPARE(m_sampler->windowFromPoint({100000, 0}), quintptr(0));
}

void X11PlatformTest::titleBarGivesNegativeClientY()
{
    if (!m_other->windowManagerRunning())
        QSKIP("no window manager draws frames on this display");
    const xcb_window_t client = m_other->showManagedWindow({200, 200}, {300, 200});
    xcb_connection_t *c = m_other->connection();
    auto *at = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, client, m_other->root(), 0, 0), nullptr);
    QVERIFY(at);
    const QPoint clientOrigin(at->dst_x, at->dst_y);
    std::free(at);

    // Inside the client area: the window itself, at its own coordinates.
    const QPoint inside = clientOrigin + QPoint(20, 30);
    QCOMPARE(m_sampler->windowFromPoint(inside), quintptr(client));
    QCOMPARE(m_sampler->screenToClient(client, inside), QPoint(20, 30));

    // A few pixels above the client area is the frame's title bar.
    const QPoint titleBar = clientOrigin + QPoint(40, -8);
    QCOMPARE(m_sampler->windowFromPoint(titleBar), quintptr(client));
    QCOMPARE(m_sampler->screenToClient(client, titleBar), QPoint(40, -8));
    QVERIFY(m_sampler->pixelAt(client, QPoint(40, -8)) != kClrInvalid);
    m_other->destroyWindow(client);
}

bool X11PlatformTest::canBeGrabbedByOther(xcb_keycode_t keycode)
{
    const quint16 variants[] = {0, XCB_MOD_MASK_LOCK, m_numLock,
                                static_cast<quint16>(m_numLock | XCB_MOD_MASK_LOCK)};
    bool all = true;
    for (quint16 lock : variants)
        all = m_other->grabKey(kAltShift | lock, keycode) == 0 && all;
    for (quint16 lock : variants)
        m_other->ungrabKey(kAltShift | lock, keycode);
    return all;
}

void X11PlatformTest::pressDeliversOneMessage_data()
{
    QTest::addColumn<QStringList>("locks");
    QTest::newRow("no lock") << QStringList();
    QTest::newRow("NumLock on") << QStringList{"Num_Lock"};
    QTest::newRow("CapsLock on") << QStringList{"Caps_Lock"};
    QTest::newRow("both on") << QStringList{"Num_Lock", "Caps_Lock"};
}

void X11PlatformTest::pressDeliversOneMessage()
{
    QFETCH(QStringList, locks);
    for (const QString &lock : locks)
        QVERIFY(xdotool({"key", lock}));

    auto hotKey = createGlobalHotKey();
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::hotKeyMessage);
    const HotKeyRegistration r = hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83);
    QVERIFY2(r.ok(), qPrintable(r.errorText));
    QVERIFY(r.errorText.isEmpty());

    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 1);
    settle();
    QCOMPARE(spy.count(), 1);
    const QList<QVariant> message = spy.at(0);
    QCOMPARE(message.at(0).value<quintptr>(), kWindow);
    QCOMPARE(message.at(1).value<quint32>(), kWmHotKey);
    QCOMPARE(message.at(2).value<quint32>(), 1u);
    QCOMPARE(message.at(3).value<qint32>(), kAltShiftS);

    // Other combinations of the same key are not ours.
    QVERIFY(xdotool({"key", "alt+s"}));
    QVERIFY(xdotool({"key", "ctrl+alt+shift+s"}));
    QVERIFY(xdotool({"key", "shift+s"}));
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 2);
    settle();
    QCOMPARE(spy.count(), 2);
}

void X11PlatformTest::heldKeyDeliversOneMessage()
{
    // First show that this server repeats a held key at all: a plain client
    // holding Alt+Shift+D sees more than one press while it is held.
    QCOMPARE(m_other->grabKey(kAltShift, m_d), 0);
    m_other->takeKeyPresses();
    QVERIFY(xdotool({"keydown", "alt+shift+d", "sleep", "1.5", "keyup", "alt+shift+d"}));
    const int rawPresses = m_other->takeKeyPresses();
    m_other->ungrabKey(kAltShift, m_d);
    if (rawPresses < 2)
        QSKIP("the server does not repeat held keys");

    auto hotKey = createGlobalHotKey();
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::hotKeyMessage);
    QVERIFY(hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83).ok());
    QVERIFY(xdotool({"keydown", "alt+shift+s", "sleep", "1.5", "keyup", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 1);
    settle();
    QCOMPARE(spy.count(), 1);
    // Let go and press again: a new press.
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 2);
    settle();
    QCOMPARE(spy.count(), 2);
}

void X11PlatformTest::keyHeldByAnotherProgramIsTaken()
{
    const quint16 variants[] = {0, XCB_MOD_MASK_LOCK, m_numLock,
                                static_cast<quint16>(m_numLock | XCB_MOD_MASK_LOCK)};
    for (quint16 lock : variants)
        QCOMPARE(m_other->grabKey(kAltShift | lock, m_s), 0);
    m_other->takeKeyPresses();

    auto hotKey = createGlobalHotKey();
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::hotKeyMessage);
    const HotKeyRegistration r = hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83);
    QCOMPARE(r.result, HotKeyResult::Taken);
    QVERIFY(!r.errorText.isEmpty());

    QVERIFY(xdotool({"key", "alt+shift+s"}));
    settle();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(m_other->takeKeyPresses(), 1);
    QVERIFY(!hotKey->unregisterHotKey(kWindow, 1));
    for (quint16 lock : variants)
        m_other->ungrabKey(kAltShift | lock, m_s);
}

void X11PlatformTest::partlyTakenKeyReleasesWhatItGrabbed()
{
    // Another program holds only the NumLock variant: the others were grabbed
    // before the refusal came back and must have been let go again.
    QCOMPARE(m_other->grabKey(kAltShift | m_numLock, m_s), 0);
    auto hotKey = createGlobalHotKey();
    QCOMPARE(hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83).result,
             HotKeyResult::Taken);
    m_other->ungrabKey(kAltShift | m_numLock, m_s);
    QVERIFY(canBeGrabbedByOther(m_s));
}

void X11PlatformTest::unregisterReleasesKey()
{
    auto hotKey = createGlobalHotKey();
    QVERIFY(hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83).ok());
    QCOMPARE(m_other->grabKey(kAltShift, m_s), 10); // BadAccess while we hold it
    QCOMPARE(m_other->grabKey(kAltShift | m_numLock, m_s), 10);
    QVERIFY(hotKey->unregisterHotKey(kWindow, 1));
    QVERIFY(!hotKey->unregisterHotKey(kWindow, 1));
    QVERIFY(canBeGrabbedByOther(m_s));

    // After unregistering, presses are not ours any more.
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::hotKeyMessage);
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    settle();
    QCOMPARE(spy.count(), 0);
}

void X11PlatformTest::destructionReleasesKey()
{
    auto hotKey = createGlobalHotKey();
    QVERIFY(hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83).ok());
    QVERIFY(hotKey->registerHotKey(kWindow, 2, kModAlt | kModShift, 'D').ok());
    hotKey.reset();
    QVERIFY(canBeGrabbedByOther(m_s));
    QVERIFY(canBeGrabbedByOther(m_d));
}

void X11PlatformTest::sameCombinationTwiceIsTaken()
{
    auto hotKey = createGlobalHotKey();
    QVERIFY(hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83).ok());
    const HotKeyRegistration second =
        hotKey->registerHotKey(kWindow + 1, 7, kModAlt | kModShift, 83);
    QCOMPARE(second.result, HotKeyResult::Taken);
    // Registering the same id again replaces the key rather than failing.
    QVERIFY(hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83).ok());

    QSignalSpy spy(hotKey.get(), &GlobalHotKey::hotKeyMessage);
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 1);
    settle();
    QCOMPARE(spy.count(), 1);
}

void X11PlatformTest::twoKeysReportTheirOwnIds()
{
    auto hotKey = createGlobalHotKey();
    QVERIFY(hotKey->registerHotKey(kWindow, 1, kModAlt | kModShift, 83).ok());
    QVERIFY(hotKey->registerHotKey(kWindow + 1, 2, kModAlt | kModShift, 'D').ok());
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::hotKeyMessage);
    QVERIFY(xdotool({"key", "alt+shift+d"}));
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 2);
    settle();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).value<quintptr>(), kWindow + 1);
    QCOMPARE(spy.at(0).at(2).value<quint32>(), 2u);
    QCOMPARE(spy.at(0).at(3).value<qint32>(), hotKeyLParam(kModAlt | kModShift, 'D'));
    QCOMPARE(spy.at(1).at(0).value<quintptr>(), kWindow);
    QCOMPARE(spy.at(1).at(2).value<quint32>(), 1u);
}

void X11PlatformTest::unusableKeysAreNotAvailable()
{
    auto hotKey = createGlobalHotKey();
    const HotKeyRegistration unknownKey = hotKey->registerHotKey(kWindow, 1, kModAlt, 0xE5);
    QCOMPARE(unknownKey.result, HotKeyResult::NotAvailable);
    QVERIFY(!unknownKey.errorText.isEmpty());
    const HotKeyRegistration unknownModifier = hotKey->registerHotKey(kWindow, 1, 0x100, 83);
    QCOMPARE(unknownModifier.result, HotKeyResult::NotAvailable);
    QVERIFY(!unknownModifier.errorText.isEmpty());
    QVERIFY(!hotKey->unregisterHotKey(kWindow, 1));
}

void X11PlatformTest::hotKeyModuleSavesOncePerPress()
{
    auto hotKey = createGlobalHotKey();
    int ownMessages = 0;
    mm1::WindowProc wndProc = [&](quintptr, quint32, quint32, qint32) {
        ++ownMessages;
        return 0;
    };
    QObject::connect(hotKey.get(), &GlobalHotKey::hotKeyMessage,
                     [&](quintptr h, quint32 m, quint32 w, qint32 l) {
                         if (h == kWindow && wndProc)
                             wndProc(h, m, w, l);
                     });
    int saves = 0;
    QVERIFY(mm1::install(*hotKey, {kWindow, &wndProc}, [&] { ++saves; }).ok());
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(saves, 2);
    settle();
    QCOMPARE(saves, 2);
    QCOMPARE(ownMessages, 2);

    mm1::remove(*hotKey, {kWindow, &wndProc});
    QVERIFY(canBeGrabbedByOther(m_s));
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    settle();
    QCOMPARE(saves, 2);
    mm1::record() = {};
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 77;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    X11PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "x11_platform_test.moc"
