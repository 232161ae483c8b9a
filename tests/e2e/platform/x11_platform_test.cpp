// The screen sampler and the global hot key against a real X server: pixels
// drawn by another client are read back exactly, and real key presses sent
// through XTEST reach the program once each.
#include "colorbox/color_box_model.h"
#include "picker/loupe_window.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"
#include "x_client.h"

#include <QApplication>
#include <QScreen>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <memory>

using namespace tintavo;
using tintavo::test::XClient;

namespace {

constexpr quint16 kAltShift = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_1;
const QKeyCombination kAltShiftS(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S);

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

    void pointerPositionIsNativeRootPosition_data();
    void pointerPositionIsNativeRootPosition();
    void everySampledPixelOfPatternIsExact();
    void offScreenPixelsAreUnreadable();
    void loupeShowsThePixelsItStandsFor_data();
    void loupeShowsThePixelsItStandsFor();

    void pressActivatesOnce_data();
    void pressActivatesOnce();
    void heldKeyActivatesOnce();
    void keyHeldByAnotherProgramIsTaken_data();
    void keyHeldByAnotherProgramIsTaken();
    void unregisterAndDestructionReleaseTheKey();
    void sameCombinationTwiceIsTaken();

private:
    std::vector<quint16> lockVariants() const
    {
        return {0, XCB_MOD_MASK_LOCK, m_numLock,
                static_cast<quint16>(m_numLock | XCB_MOD_MASK_LOCK)};
    }
    bool canBeGrabbedByOther();

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
    m_s = m_other->keycodeFor('s');
    m_d = m_other->keycodeFor('d');
    m_numLock = m_other->numLockMask();
    QVERIFY(m_s != 0 && m_d != 0);
    QVERIFY(m_numLock != 0);
    m_sampler = createScreenSampler();
    QVERIFY(m_sampler->available());
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

void X11PlatformTest::pointerPositionIsNativeRootPosition_data()
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

void X11PlatformTest::pointerPositionIsNativeRootPosition()
{
    QFETCH(QPoint, point);
    m_other->warpPointer(point);
    QCOMPARE(m_sampler->pointerPosition(), point);
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
            const ColorValue got = m_sampler->pixelColor(p).value_or(-1);
            ++checked;
            if (got != test::patternColor(p) && wrong++ == 0)
                firstWrong = QStringLiteral("(%1,%2): got %3, want %4")
                                 .arg(x)
                                 .arg(y)
                                 .arg(got, 0, 16)
                                 .arg(test::patternColor(p), 0, 16);
        }
    }
    m_other->destroyWindow(pattern);
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 of %2 pixels wrong, first %3")
                                        .arg(wrong)
                                        .arg(checked)
                                        .arg(firstWrong)));
    QVERIFY(checked > 1000);
}

void X11PlatformTest::loupeShowsThePixelsItStandsFor_data()
{
    QTest::addColumn<QPoint>("pointer");
    const int w = m_rootSize.width();
    const int h = m_rootSize.height();
    QTest::newRow("middle") << QPoint(w / 3, h / 3);
    QTest::newRow("top left") << QPoint(0, 0);
    QTest::newRow("top right") << QPoint(w - 1, 0);
    QTest::newRow("bottom left") << QPoint(0, h - 1);
    QTest::newRow("bottom right") << QPoint(w - 1, h - 1);
    // Where two monitors meet when the screen is split.
    QTest::newRow("seam left") << QPoint(w / 2 - 1, h / 2);
    QTest::newRow("seam right") << QPoint(w / 2, h / 2);
}

// Every cell of the loupe, as the X server shows it, has the colour of the
// screen pixel it stands for, the loupe stays off those pixels, and the
// centre cell is what Alt+Shift+S stores.
void X11PlatformTest::loupeShowsThePixelsItStandsFor()
{
    QFETCH(QPoint, pointer);
    const xcb_window_t pattern = m_other->showPatternWindow();
    auto hotKey = createGlobalHotKey();
    ColorBoxModel box;
    PickerWindow picker(box, *m_sampler, *hotKey, {}, true);
    picker.move(m_rootSize.width() / 2 - 150, 40);
    picker.show();
    const QWindowList windows = QGuiApplication::topLevelWindows();
    const auto found = std::find_if(windows.cbegin(), windows.cend(), [](QWindow *w) {
        return w->objectName() == QLatin1String("Loupe");
    });
    QVERIFY(found != windows.cend());
    QWindow *loupe = *found;
    m_other->warpPointer(pointer + QPoint(3, 3));
    QTRY_VERIFY(loupe->isVisible());
    m_other->warpPointer(pointer);
    QTest::qWait(400); // a few samples, and the loupe drawn on the server

    xcb_connection_t *c = m_other->connection();
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, loupe->winId()), nullptr), &std::free);
    QVERIFY(geometry);
    const QRect placed(geometry->x, geometry->y, geometry->width, geometry->height);
    const int r = LoupeWindow::kRadius;
    QVERIFY(!placed.intersects(QRect(pointer - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1))));

    const int cell = qRound(LoupeWindow::kCellSize * loupe->devicePixelRatio());
    QList<QRect> monitors;
    for (const QScreen *s : QGuiApplication::screens())
        monitors << QRect(s->geometry().topLeft(), s->geometry().size() * s->devicePixelRatio());
    int wrong = 0;
    QString firstWrong;
    ColorValue centre = -1;
    for (int row = 0; row < 2 * r + 1; ++row) {
        for (int col = 0; col < 2 * r + 1; ++col) {
            const QPoint at = placed.topLeft() + QPoint(col * cell + cell / 2, row * cell + cell / 2);
            const ColorValue shown = m_other->pixelColor(at);
            const QPoint stands = pointer + QPoint(col - r, row - r);
            const bool onScreen = std::any_of(monitors.cbegin(), monitors.cend(),
                                              [&](const QRect &m) { return m.contains(stands); });
            // Off every monitor a cell is hatched grey, never a made-up colour.
            const bool right = onScreen ? shown == test::patternColor(stands)
                                        : (shown == 0x707070 || shown == 0x909090);
            if (!right && wrong++ == 0)
                firstWrong = QStringLiteral("cell for (%1,%2) shows %3")
                                 .arg(stands.x())
                                 .arg(stands.y())
                                 .arg(shown, 6, 16, QLatin1Char('0'));
            if (row == r && col == r)
                centre = shown;
        }
    }
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 cells wrong, first %2").arg(wrong).arg(firstWrong)));

    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(box.color(0), centre);
    m_other->destroyWindow(pattern);
}

void X11PlatformTest::offScreenPixelsAreUnreadable()
{
    const int w = m_rootSize.width();
    const int h = m_rootSize.height();
    for (QPoint p : {QPoint(-1, 0), QPoint(0, -1), QPoint(w, 0), QPoint(0, h), QPoint(100000, 5)})
        QVERIFY2(!m_sampler->pixelColor(p),
                 qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    QVERIFY(m_sampler->pixelColor({w - 1, h - 1}));
}

bool X11PlatformTest::canBeGrabbedByOther()
{
    bool all = true;
    for (quint16 lock : lockVariants())
        all = m_other->grabKey(kAltShift | lock, m_s) == 0 && all;
    for (quint16 lock : lockVariants())
        m_other->ungrabKey(kAltShift | lock, m_s);
    return all;
}

void X11PlatformTest::pressActivatesOnce_data()
{
    QTest::addColumn<QStringList>("locks");
    QTest::newRow("no lock") << QStringList();
    QTest::newRow("NumLock on") << QStringList{"Num_Lock"};
    QTest::newRow("CapsLock on") << QStringList{"Caps_Lock"};
    QTest::newRow("both on") << QStringList{"Num_Lock", "Caps_Lock"};
}

void X11PlatformTest::pressActivatesOnce()
{
    QFETCH(QStringList, locks);
    for (const QString &lock : locks)
        QVERIFY(xdotool({"key", lock}));

    auto hotKey = createGlobalHotKey();
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::activated);
    QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 1);

    // Other combinations of the same key, and other keys, are not ours.
    for (const char *other : {"alt+s", "ctrl+alt+shift+s", "shift+s", "alt+shift+d"})
        QVERIFY(xdotool({"key", other}));
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 2);
    settle();
    QCOMPARE(spy.count(), 2);
}

void X11PlatformTest::heldKeyActivatesOnce()
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
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::activated);
    QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
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

void X11PlatformTest::keyHeldByAnotherProgramIsTaken_data()
{
    QTest::addColumn<bool>("onlyNumLockVariant");
    QTest::newRow("every lock variant held") << false;
    // The variants grabbed before the refusal came back must be let go again.
    QTest::newRow("only the NumLock variant held") << true;
}

void X11PlatformTest::keyHeldByAnotherProgramIsTaken()
{
    QFETCH(bool, onlyNumLockVariant);
    std::vector<quint16> held = lockVariants();
    if (onlyNumLockVariant)
        held = {m_numLock};
    for (quint16 lock : held)
        QCOMPARE(m_other->grabKey(kAltShift | lock, m_s), 0);
    m_other->takeKeyPresses();

    auto hotKey = createGlobalHotKey();
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::activated);
    QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Taken);
    if (!onlyNumLockVariant) {
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        settle();
        QCOMPARE(m_other->takeKeyPresses(), 1);
    }
    QCOMPARE(spy.count(), 0);
    for (quint16 lock : held)
        m_other->ungrabKey(kAltShift | lock, m_s);
    QVERIFY(canBeGrabbedByOther());
}

void X11PlatformTest::unregisterAndDestructionReleaseTheKey()
{
    auto hotKey = createGlobalHotKey();
    QSignalSpy spy(hotKey.get(), &GlobalHotKey::activated);
    QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
    for (quint16 lock : lockVariants())
        QCOMPARE(m_other->grabKey(kAltShift | lock, m_s), 10); // BadAccess while we hold it
    hotKey->unregisterKey();
    hotKey->unregisterKey(); // a second time does nothing
    QVERIFY(canBeGrabbedByOther());
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    settle();
    QCOMPARE(spy.count(), 0);

    QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
    hotKey.reset();
    QVERIFY(canBeGrabbedByOther());
}

void X11PlatformTest::sameCombinationTwiceIsTaken()
{
    auto first = createGlobalHotKey();
    auto second = createGlobalHotKey();
    QCOMPARE(first->registerKey(kAltShiftS), HotKeyResult::Registered);
    QCOMPARE(second->registerKey(kAltShiftS), HotKeyResult::Taken);
    // Registering again replaces the key rather than failing.
    QCOMPARE(first->registerKey(kAltShiftS), HotKeyResult::Registered);
    QCOMPARE(second->registerKey(QKeyCombination(Qt::AltModifier, Qt::Key_F13)),
             HotKeyResult::Unsupported);
    QSignalSpy spy(first.get(), &GlobalHotKey::activated);
    QVERIFY(xdotool({"key", "alt+shift+s"}));
    QTRY_COMPARE(spy.count(), 1);
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 77;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    X11PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "x11_platform_test.moc"
