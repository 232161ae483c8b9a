// The screen sampler, the loupe and the global hot key against a real X
// server: another client's pixels read back exactly, XTEST presses reach us once.
#include "colorbox/color_box_model.h"
#include "common/app_look.h"
#include "icc_profiles.h"
#include "picker/area_sample.h"
#include "picker/live_picker.h"
#include "picker/loupe_window.h"
#include "platform/desktop_picking.h"
#include "platform/global_hotkey.h"
#include "platform/pointer_grab.h"
#include "platform/pointer_watch.h"
#include "platform/screen_change_watch.h"
#include "platform/screen_sampler.h"
#include "x_client.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

using namespace tintavo;

namespace {

constexpr quint16 kAltShift = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_1;
const QKeyCombination kAltShiftS(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S);
constexpr int kSettleMs = 300; // every event the server sent has reached us

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

// Moves the pointer as a mouse does: the last pixel of the way is a motion
// of XTEST's pointing device, which the server reports as raw motion (a
// warp alone it does not).
bool warp(QPoint to)
{
    const int dx = to.x() > 0 ? 1 : -1;
    return xdotool({"mousemove", QString::number(to.x() - dx), QString::number(to.y()),
                    "mousemove_relative", "--", QString::number(dx), "0"});
}

} // namespace

class X11PlatformTest : public QObject
{
    Q_OBJECT

    test::XClient m_other;
    std::unique_ptr<ScreenSampler> m_sampler = createScreenSampler();
    QRect m_root;
    xcb_keycode_t m_s = 0;

    // What the pattern another client drew shows at a point; -1 off the screen.
    ColorValue drawn(QPoint p) const { return m_root.contains(p) ? test::patternColor(p) : -1; }
    static ColorValue packed(std::optional<Rgb> c) { return c ? toColorValue(*c) : -1; }

    // The program's own top-level window of that name, if one is shown.
    static QWindow *window(const char *name)
    {
        for (QWindow *w : QGuiApplication::topLevelWindows()) {
            if (w->objectName() == QLatin1String(name) && w->isVisible())
                return w;
        }
        return nullptr;
    }

    // The picker as the program opens it on X11, at a logical point.
    static std::unique_ptr<PickerWindow> openPicker(ColorBoxModel &box, GlobalHotKey &hotKey,
                                                    ScreenSampler &sampler, QPoint at)
    {
        auto picker = createPicker(
            box, sampler, hotKey, nullptr,
            PickerOptions{.makeHotKey = [] { return createGlobalHotKey(); },
                          .makeGrab = [] { return createPointerGrab(); },
                          .makeScreenChangeWatch = [] { return createScreenChangeWatch(); }});
        picker->move(at);
        picker->show();
        return picker;
    }

    // The loupe's middle cell as the X server shows it.
    qint32 loupeMiddle()
    {
        QWindow *loupe = window("Loupe");
        if (!loupe)
            return -1;
        const int cell = qRound(LoupeWindow::kCellSize * loupe->devicePixelRatio());
        return m_other.pixelColor(m_other.geometry(loupe->winId()).topLeft() +
                                  QPoint(1, 1) * (LoupeWindow::kRadius * cell + cell / 2));
    }

    static QString readout(const PickerWindow &picker)
    {
        return picker.findChild<QLabel *>("lblData(4)")->text();
    }
    static QString readoutOf(ColorValue c)
    {
        return QString::asprintf("RGB颜色：%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, c >> 16);
    }

    // Whether another client can take Alt+Shift+S with every lock variant.
    bool otherCanTakeTheKey()
    {
        bool all = true;
        for (quint16 lock : m_other.lockVariants())
            all = m_other.grabKey(kAltShift | lock, m_s) == 0 && all;
        for (quint16 lock : m_other.lockVariants())
            m_other.ungrabKey(kAltShift | lock, m_s);
        return all;
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(m_other.ok() && m_sampler->available());
        m_root = QRect(QPoint(), m_other.rootSize());
        m_s = m_other.keycodeFor('s');
        QVERIFY(m_s != 0 && m_other.lockVariants()[2] != 0);
        m_other.showPattern();
    }

    void loupeShowsThePixelsItStandsFor_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("size");  // of the square averaged
        QTest::addColumn<bool>("jump"); // onto where the loupe stood a moment ago
        const int w = m_root.width(), h = m_root.height();
        const std::tuple<const char *, QPoint, int, bool> rows[] = {
            {"top left", {0, 0}, 1, false},
            {"bottom right", {w - 1, h - 1}, 1, false},
            {"top right", {w - 1, 0}, 1, false},
            {"bottom left", {0, h - 1}, 1, false},
            {"past 256 both ways", {333, 777 % h}, 1, false},
            {"left of the middle", {w / 2 - 1, h / 2}, 1, false}, // where two monitors meet
            {"right of the middle", {w / 2, h / 2 + 1}, 1, false},
            {"3 x 3 across a block corner", {256, 512}, 3, false},
            {"5 x 5 in a corner, half off the screen", {0, h - 1}, 5, false},
            {"onto the loupe", {600, 300}, 1, true},
            {"5 x 5 onto the loupe", {w / 2 + 40, h / 2 + 40}, 5, true},
        };
        for (const auto &[name, point, size, jump] : rows)
            QTest::newRow(name) << point << size << jump;
    }

    // The sampler reads the native pointer position and each pixel around it
    // (nothing off the screen). Every cell of the loupe, as the X server shows
    // it, has the colour of the screen pixel it stands for (off the screen a
    // grey hatch); the light band of its outline runs exactly around the
    // averaged cells; the loupe stays off those pixels, and Alt+Shift+S
    // stores the mean it outlines.
    void loupeShowsThePixelsItStandsFor()
    {
        QFETCH(QPoint, point);
        QFETCH(int, size);
        QFETCH(bool, jump);
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        LivePicker picker(box, *m_sampler, *hotKey, {.picking = {.sampleSize = size}});
        picker.move(m_root.width() / 2 - 150, 40);
        picker.show();
        QWindow *loupe = nullptr;
        for (QWindow *w : QGuiApplication::topLevelWindows())
            loupe = w->objectName() == QLatin1String("Loupe") ? w : loupe;
        QVERIFY(loupe);
        const QPoint start = jump ? point - QPoint(30, 30) : point + QPoint(3, 3);
        QVERIFY(warp(start));
        QTRY_VERIFY(loupe->isVisible());
        if (jump) { // straight onto the middle of where the loupe stands
            QTest::qWait(200);
            QVERIFY(m_other.geometry(loupe->winId()).contains(point));
        }
        QVERIFY(warp(point));
        QCOMPARE(m_sampler->pointerPosition(), point);
        QTest::qWait(400); // a few samples, and the loupe drawn on the server

        const QRect placed = m_other.geometry(loupe->winId());
        const int r = LoupeWindow::kRadius, side = LoupeWindow::kSide;
        QVERIFY(!placed.intersects(QRect(point - QPoint(r, r), QSize(side, side))));
        const int cell = qRound(LoupeWindow::kCellSize * loupe->devicePixelRatio());
        const QRect grid(placed.topLeft(), QSize(side * cell + 1, side * cell + 1));
        const std::vector<qint32> shown = m_other.pixelColors(grid);
        const auto at = [&](QPoint p) { return shown[std::size_t(p.y() * grid.width() + p.x())]; };
        QStringList wrong;
        std::vector<std::optional<Rgb>> square;
        for (int i = 0; i < side * side; ++i) {
            const QPoint cellAt = QPoint(i % side, i / side) * cell;
            const ColorValue c = at(cellAt + QPoint(cell, cell) / 2);
            const QPoint stands = point + QPoint(i % side - r, i / side - r);
            if (drawn(stands) < 0 ? c != 0x707070 && c != 0x909090 : c != drawn(stands))
                wrong << QString::asprintf("(%d,%d) shows %06x", stands.x(), stands.y(), c);
            if (packed(m_sampler->pixelColor(stands)) != drawn(stands))
                wrong << QString::asprintf("(%d,%d) read wrong", stands.x(), stands.y());
            square.push_back(drawn(stands) < 0 ? std::nullopt
                                               : std::optional(toRgb(drawn(stands))));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1String(", "))));
        QRect outline; // where the grid shows white: only the outline's light band
        for (int y = 0; y < grid.height(); ++y) {
            for (int x = 0; x < grid.width(); ++x)
                outline |= at({x, y}) == 0xFFFFFF ? QRect(x, y, 1, 1) : QRect();
        }
        const int first = (side - size) / 2 * cell;
        QCOMPARE(outline, QRect(first, first, size * cell + 1, size * cell + 1));
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTRY_COMPARE(toColorValue(box.color(0)), packed(meanColor(square, side, size)));
    }

    // Alt+Shift+arrows step the pointer by one device pixel while the picker
    // is open, and only then, and the picker shows where it landed; one of
    // them held by another program leaves the others and the capture key
    // working.
    void arrowKeysStepOnePixel()
    {
        const QPoint start(401, 301);
        const xcb_keycode_t left = m_other.keycodeFor(0xff51);
        QVERIFY(left != 0);
        for (const bool leftTaken : {false, true}) {
            for (quint16 lock : m_other.lockVariants())
                QCOMPARE(leftTaken ? m_other.grabKey(kAltShift | lock, left) : 0, 0);
            auto hotKey = createGlobalHotKey();
            ColorBoxModel box;
            auto picker = createPicker(
                box, *m_sampler, *hotKey, nullptr,
                {.picking = {.loupe = false}, .makeHotKey = [] { return createGlobalHotKey(); }});
            picker->show();
            QVERIFY(warp(start));
            const std::pair<const char *, QPoint> steps[] = {
                {"alt+shift+Right", {1, 0}},
                {"alt+shift+Down", {1, 1}},
                {"alt+shift+Left", {leftTaken ? 1 : 0, 1}},
                {"alt+shift+Up", {leftTaken ? 1 : 0, 0}}};
            for (const auto &[key, to] : steps) {
                QVERIFY(xdotool({"key", key}));
                QTRY_COMPARE(m_sampler->pointerPosition(), start + to);
                QTRY_VERIFY(
                    picker->findChild<QLabel *>("lblData(0)")
                        ->text()
                        .endsWith(
                            QString("：%1,%2").arg(start.x() + to.x()).arg(start.y() + to.y())));
            }
            QVERIFY(xdotool({"key", "alt+shift+s"}));
            QTRY_COMPARE(toColorValue(box.color(0)), drawn(start + steps[3].second));
            picker.reset();
            QVERIFY(xdotool({"key", "alt+shift+Right"}));
            QTest::qWait(kSettleMs);
            QCOMPARE(m_sampler->pointerPosition(), start + steps[3].second);
            for (quint16 lock : m_other.lockVariants())
                m_other.ungrabKey(kAltShift | lock, left);
        }
    }

    // The loupe never covers the picker's own menu: it hides while the menu
    // is open and follows the pointer again once it has closed.
    void loupeKeepsOffThePickersMenu()
    {
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        LivePicker picker(box, *m_sampler, *hotKey);
        picker.move(100, 100);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        QWindow *loupe = nullptr;
        for (QWindow *w : QGuiApplication::topLevelWindows())
            loupe = w->objectName() == QLatin1String("Loupe") ? w : loupe;
        QVERIFY(warp({600, 400}));
        QTRY_VERIFY(loupe && m_other.viewable(loupe->winId()));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                picker.mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(&picker, &event);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QWidget *menu = QApplication::activePopupWidget();
        QVERIFY(warp(menu->mapToGlobal(QPoint(menu->width() / 2, 5))));
        QTest::qWait(400);
        QVERIFY(!m_other.viewable(loupe->winId()));
        menu->close();
        QVERIFY(warp({610, 420}));
        QTRY_VERIFY(m_other.viewable(loupe->winId()));
    }

    // Alt+Shift+F freezes the screen: the frame shows over everything pixel
    // for pixel while the screen beneath changes; the loupe's middle cell
    // and what Return, Alt+Shift+S or a click store are the frame's pixels,
    // also after plain arrow steps; Escape goes back to the live screen.
    void freezingPicksFromTheFrame()
    {
        const int w = m_root.width(), h = m_root.height();
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        box.addSwatches(8);
        LivePicker picker(box, *m_sampler, *hotKey,
                          {.picking = {.colorManaged = false},
                           .makeHotKey = [] { return createGlobalHotKey(); },
                           .makeGrab = [] { return createPointerGrab(); }});
        picker.move(w / 2 - 150, 40);
        picker.show();
        const auto restore = qScopeGuard([&] { m_other.showPattern(); });
        QVERIFY(warp({300, 200}));
        QTest::qWait(200);
        QVERIFY(xdotool({"key", "alt+shift+f"}));
        QTRY_VERIFY(window("FrozenFrame") && m_other.viewable(window("FrozenFrame")->winId()));
        QTest::qWait(300);
        QProcess::execute("xsetroot", {"-solid", "#204060"}); // the screen beneath changes
        QWindow *loupe = window("Loupe");
        const QPoint points[] = {{517, 301}, {w - 3, h - 2}, {w / 2 - 1, h / 2}, {2, h - 1}};
        const char *stores[] = {"Return", "alt+shift+s", "Return", "alt+shift+s"};
        for (int i = 0; i < 4; ++i) {
            QVERIFY(warp(points[i]));
            QTest::qWait(200);
            QVERIFY(xdotool({"key", stores[i]}));
            QTRY_COMPARE(toColorValue(box.color(i)), drawn(points[i]));
            const QRect placed = m_other.geometry(loupe->winId());
            const int cell = qRound(LoupeWindow::kCellSize * loupe->devicePixelRatio());
            QCOMPARE(m_other.pixelColor(placed.topLeft() +
                                        QPoint(1, 1) * (LoupeWindow::kRadius * cell + cell / 2)),
                     drawn(points[i]));
            const QPoint away(points[i].x() < w / 2 ? w - 40 : 40,
                              points[i].y() < h / 2 ? h - 40 : 40);
            QCOMPARE(m_other.pixelColor(away), drawn(away)); // the frame itself, not the root
        }
        const QPoint start(401, 301);
        QVERIFY(warp(start));
        QVERIFY(xdotool({"key", "Right", "Right", "Down", "Left", "Down"}));
        QTRY_COMPARE(m_sampler->pointerPosition(), start + QPoint(1, 2));
        QVERIFY(xdotool({"click", "1"}));
        QTRY_COMPARE(toColorValue(box.color(4)), drawn(start + QPoint(1, 2)));
        QVERIFY(xdotool({"key", "Escape"}));
        QTRY_VERIFY(!window("FrozenFrame"));
        QVERIFY(warp({600, 500}));
        QTest::qWait(300);
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTRY_COMPARE(toColorValue(box.color(5)), 0x604020);
    }

    // What is drawn under a resting pointer shows in the loupe and the
    // read-out once the server reports it, and Alt+Shift+S stores it: a new
    // root picture, and a window of the test's own that takes its hover
    // colour a moment after the pointer came onto it.
    void changesUnderARestingPointerShow()
    {
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        box.addSwatches(4);
        auto picker = openPicker(box, *hotKey, *m_sampler, {40, 40});
        const auto restore = qScopeGuard([&] { m_other.showPattern(); });
        const QPoint point(701, 503);
        QVERIFY(warp(point));
        QTRY_COMPARE(loupeMiddle(), drawn(point));
        QTest::qWait(kSettleMs);
        QProcess::execute("xsetroot", {"-solid", "#0012B1"});
        QTRY_COMPARE_WITH_TIMEOUT(loupeMiddle(), 0xB11200, 1000);
        QTRY_COMPARE_WITH_TIMEOUT(readout(*picker), readoutOf(0xB11200), 1000);
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTRY_COMPARE(toColorValue(box.color(0)), 0xB11200);

        QWidget button(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        button.setAutoFillBackground(true);
        button.setPalette(QColor(0x21, 0x91, 0x31));
        button.setGeometry(200, 500, 120, 60);
        struct Hover : QObject
        {
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                // Drawn a little after the motion that caused it, as a page's is.
                if (event->type() == QEvent::Enter)
                    QTimer::singleShot(40, watched, [watched] {
                        static_cast<QWidget *>(watched)->setPalette(QColor(0xE0, 0x4A, 0x0B));
                    });
                return false;
            }
        } hover;
        button.installEventFilter(&hover);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        const QPoint onIt = button.geometry().center() * button.devicePixelRatio();
        QVERIFY(warp(onIt));
        QTRY_COMPARE_WITH_TIMEOUT(readout(*picker), readoutOf(0x0B4AE0), 1000);
        QTRY_COMPARE(loupeMiddle(), 0x0B4AE0);
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTRY_COMPARE(toColorValue(box.color(1)), 0x0B4AE0);
    }

    // Frozen, the frame is the screen without the picker: where the picker
    // stood the frame holds the picture beneath, and the picker, back over
    // the frame, reads out what the crosshair rings there.
    void frameLeavesThePickerOut()
    {
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        box.addSwatches(4);
        auto picker = openPicker(box, *hotKey, *m_sampler, {300, 300});
        QVERIFY(QTest::qWaitForWindowExposed(picker.get()));
        QVERIFY(warp({40, 40}));
        QTest::qWait(kSettleMs);
        QVERIFY(xdotool({"key", "alt+shift+f"}));
        QTRY_VERIFY(window("FrozenFrame") && m_other.viewable(window("FrozenFrame")->winId()));
        QTRY_VERIFY(picker->isVisible() && m_other.viewable(picker->windowHandle()->winId()));
        const auto *swatch = picker->findChild<QWidget *>("Picture1");
        // Its far edge, clear of the loupe beside a pointer on the labels.
        const QPoint swatchAt =
            swatch->mapToGlobal(QPoint(swatch->width() - 4, swatch->height() / 2)) *
            picker->devicePixelRatio();
        for (const QPoint inside : {QPoint(20, 20), QPoint(30, picker->height() - 5)}) {
            const QPoint native = picker->mapToGlobal(inside) * picker->devicePixelRatio();
            QVERIFY(warp(native));
            QTRY_COMPARE(readout(*picker), readoutOf(drawn(native)));
            QTRY_COMPARE(m_other.pixelColor(swatchAt), drawn(native)); // shown over the frame
            QVERIFY(xdotool({"key", "Return"}));
            QTRY_COMPARE(toColorValue(box.color(box.nextCaptureSlot() - 1)), drawn(native));
        }
        QVERIFY(xdotool({"key", "Escape"}));
        QTRY_VERIFY(!window("FrozenFrame"));
    }

    // Over a frozen frame a region dragged out is outlined, dark and light,
    // just outside it, the frame showing around it; the achromatic view
    // (4) shows the frame grey, 0 shows it as read again, and Escape takes
    // the outline away.
    void frozenFrameShowsRegionAndViews()
    {
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        const auto picker = openPicker(box, *hotKey, *m_sampler, {m_root.width() / 2 - 150, 40});
        const QPoint from(300, 200), to(340, 230), corner = from - QPoint(1, 1);
        const QPoint away(150, 600); // clear of the loupe and the picker
        QVERIFY(warp(from));
        QTest::qWait(200);
        QVERIFY(xdotool({"key", "alt+shift+f"}));
        QTRY_VERIFY(window("FrozenFrame") && m_other.viewable(window("FrozenFrame")->winId()));
        QTest::qWait(kSettleMs);
        QVERIFY(xdotool({"mousedown", "1"}) && warp(to) && xdotool({"mouseup", "1"}));
        QTRY_VERIFY(m_other.pixelColor(corner) == 0 || m_other.pixelColor(corner) == 0xFFFFFF);
        QCOMPARE(m_other.pixelColor(away), drawn(away));
        const auto grey = [](qint32 c) {
            return (c & 0xFF) == (c >> 8 & 0xFF) && (c & 0xFF) == c >> 16;
        };
        QVERIFY(xdotool({"key", "4"}));
        QTRY_VERIFY(grey(m_other.pixelColor(away)));
        QVERIFY(xdotool({"key", "0"}));
        QTRY_COMPARE(m_other.pixelColor(away), drawn(away));
        QVERIFY(xdotool({"key", "Escape"}));
        QTRY_COMPARE(m_other.pixelColor(corner), drawn(corner));
        QVERIFY(xdotool({"key", "Escape"}));
        QTRY_VERIFY(!window("FrozenFrame"));
    }

    // Escape, a right click and Alt+Shift+F in quick succession end frames
    // and make new ones from within the events that do it; the picker comes
    // through and still picks from the frame.
    void quickKeysOnTheFrame()
    {
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        auto picker = openPicker(box, *hotKey, *m_sampler, {300, 300});
        const QPoint point(901, 207);
        QVERIFY(warp(point));
        for (int round = 0; round < 4; ++round) {
            QVERIFY(xdotool({"key", "alt+shift+f"}));
            QTRY_VERIFY(window("FrozenFrame"));
            QTest::qWait(100);
            QVERIFY(xdotool({"click", "3", "key", "alt+shift+f", "key", "Escape", "key",
                             "alt+shift+f", "key", "alt+shift+f"}));
            QTest::qWait(200);
            if (window("FrozenFrame"))
                QVERIFY(xdotool({"key", "Escape"}));
            QTRY_VERIFY(!window("FrozenFrame"));
        }
        QVERIFY(xdotool({"key", "alt+shift+f"}));
        QTRY_VERIFY(window("FrozenFrame"));
        QVERIFY(xdotool({"key", "Return", "key", "Escape"}));
        QTRY_COMPARE(toColorValue(box.color(0)), drawn(point));
        QTRY_VERIFY(!window("FrozenFrame"));
    }

    // A screen that grows while the program runs (a monitor plugged in, a
    // resolution raised) is read to its new edge, and the picker stores
    // what it shows there.
    // The picker follows the pointer on the motion of the pointing device
    // (XTEST's stands in for the mouse), over any window; nothing is
    // reported while it rests.
    void pointerWatchReportsMotionOnly()
    {
        auto watch = createPointerWatch();
        QVERIFY(watch->watching());
        QSignalSpy moved(watch.get(), &PointerWatch::moved);
        for (const QPoint to : {QPoint(100, 100), QPoint(0, 600), QPoint(1279, 1023)}) {
            moved.clear();
            QVERIFY(warp(to));
            QTRY_VERIFY(moved.count() > 0);
            QCOMPARE(m_sampler->pointerPosition(), to);
        }
        moved.clear();
        QTest::qWait(600);
        QCOMPARE(moved.count(), 0);
    }

    void newScreenAreaIsRead()
    {
        const QSize full = m_root.size();
        // Shrunk, the screen's monitor goes dark; grown, it comes back.
        const auto resize = [](QSize to) {
            QProcess::execute(
                "sh",
                {"-c",
                 QString("xrandr --fb %1x%2 --auto 2>/dev/null").arg(to.width()).arg(to.height())});
        };
        resize({full.width() / 2, full.height()});
        const auto restore = qScopeGuard([&] { resize(full); });
        QTRY_COMPARE(m_other.geometry(m_other.root()).width(), full.width() / 2);
        auto sampler = createScreenSampler(); // connects to the smaller screen
        resize(full);
        QTRY_COMPARE(m_other.geometry(m_other.root()).width(), full.width());
        auto hotKey = createGlobalHotKey();
        ColorBoxModel box;
        LivePicker picker(box, *sampler, *hotKey,
                          {.picking = {.loupe = false, .colorManaged = false}});
        picker.show();
        const QPoint far(full.width() * 3 / 4 + 7, full.height() / 2 + 3);
        QVERIFY(warp(far));
        QTest::qWait(300);
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTRY_COMPARE(toColorValue(box.color(0)), drawn(far));
    }

    // With a profile on the root for each monitor (the second monitor's
    // as _ICC_PROFILE_1), Alt+Shift+S stores the sRGB value LittleCMS gives
    // back from the screen value, and the read-out's tooltip names the
    // profile; a new profile is followed while the picker is open; a broken
    // one, or ColorManaged=0, leaves the screen's own values.
    void colorManagedPicks()
    {
        using test::Monitor;
        const QByteArray adobe = test::iccProfile(Monitor::AdobeRgb, "Test Adobe RGB");
        const QByteArray wide = test::iccProfile(Monitor::WideP3, "Test wide P3");
        const auto unpublish = qScopeGuard([&] {
            m_other.setRootBytes("_ICC_PROFILE", {});
            m_other.setRootBytes("_ICC_PROFILE_1", {});
        });
        const int w = m_root.width();
        const bool twoMonitors = m_sampler->monitors().size() == 2;
        const QPoint left(w / 4 + 37, 301), right(3 * w / 4 + 51, 402);
        for (const bool managed : {true, false}) {
            m_other.setRootBytes("_ICC_PROFILE", adobe);
            m_other.setRootBytes("_ICC_PROFILE_1", twoMonitors ? wide : QByteArray());
            auto hotKey = createGlobalHotKey();
            ColorBoxModel box;
            box.addSwatches(3);
            box.fillColors(toRgb(kWhite));
            LivePicker picker(box, *m_sampler, *hotKey,
                              {.picking = {.loupe = false, .colorManaged = managed}});
            picker.move(m_root.width() / 2 - 150, 40);
            picker.show();
            // Where, through which profile (none: raw), and what happens first.
            struct Pick
            {
                QPoint at;
                QByteArray profile;
                const char *before;
            };
            const Pick picks[] = {{left, adobe, nullptr},
                                  {right, twoMonitors ? wide : adobe, nullptr},
                                  {right, twoMonitors ? adobe : wide,
                                   twoMonitors ? "_ICC_PROFILE_1" : "_ICC_PROFILE"},
                                  {left, {}, "broken"}};
            for (int i = 0; i < 4; ++i) {
                const Pick &p = picks[i];
                if (p.before && QByteArray(p.before) == "broken")
                    m_other.setRootBytes("_ICC_PROFILE", "not a profile");
                else if (p.before) // replaced while the pointer rests
                    m_other.setRootBytes(p.before, p.profile);
                QVERIFY(warp(p.at));
                QTest::qWait(300);
                QVERIFY(xdotool({"key", "alt+shift+s"}));
                const ColorValue screen = drawn(p.at);
                const ColorValue expected =
                    managed && !p.profile.isEmpty()
                        ? toColorValue(test::convert(p.profile, {}, toRgb(screen)))
                        : screen;
                QTRY_VERIFY(toColorValue(box.color(i)) != kWhite);
                const ColorValue stored = toColorValue(box.color(i));
                for (int shift : {0, 8, 16})
                    QVERIFY2(qAbs(((stored >> shift) & 0xFF) - ((expected >> shift) & 0xFF)) <= 1,
                             qPrintable(QString::asprintf("pick %d: %06x stored, %06x expected", i,
                                                          stored, expected)));
                const QString tip = picker.findChild<QLabel *>("lblData(4)")->toolTip();
                QCOMPARE(tip.isEmpty(), !managed || p.profile.isEmpty());
                QVERIFY(tip.isEmpty() ||
                        tip.contains(p.profile == adobe ? "Test Adobe RGB" : "Test wide P3"));
            }
        }
    }

    void pressActivatesOnce_data()
    {
        QTest::addColumn<QStringList>("locks");
        QTest::addColumn<bool>("heldDown");
        QTest::newRow("no lock") << QStringList() << false;
        QTest::newRow("NumLock on") << QStringList{"Num_Lock"} << false;
        QTest::newRow("CapsLock on") << QStringList{"Caps_Lock"} << false;
        QTest::newRow("both on") << QStringList{"Num_Lock", "Caps_Lock"} << false;
        QTest::newRow("held down while it repeats") << QStringList() << true;
    }

    // One activation a press, whatever lock keys are on and however long the
    // key is held; other combinations of the key, and other keys, are not ours.
    void pressActivatesOnce()
    {
        QFETCH(QStringList, locks);
        QFETCH(bool, heldDown);
        const auto locksOff = qScopeGuard([&] {
            for (const QString &lock : locks)
                xdotool({"key", lock});
        });
        for (const QString &lock : locks)
            QVERIFY(xdotool({"key", lock}));
        QStringList press{"key", "alt+shift+s"};
        if (heldDown) { // a plain client sees this server repeat a key held as long
            press = {"keydown", "alt+shift+s", "sleep", "1.5", "keyup", "alt+shift+s"};
            const xcb_keycode_t d = m_other.keycodeFor('d');
            QCOMPARE(m_other.grabKey(kAltShift, d), 0);
            QVERIFY(xdotool({"keydown", "alt+shift+d", "sleep", "1.5", "keyup", "alt+shift+d"}));
            const int presses = m_other.takeKeyPresses();
            m_other.ungrabKey(kAltShift, d);
            if (presses < 2)
                QSKIP("the server does not repeat held keys");
        }
        auto hotKey = createGlobalHotKey();
        QSignalSpy spy(hotKey.get(), &GlobalHotKey::activated);
        QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
        QVERIFY(xdotool(press));
        QTRY_COMPARE(spy.count(), 1);
        for (const char *other : {"alt+s", "ctrl+alt+shift+s", "shift+s", "alt+shift+d"})
            QVERIFY(xdotool({"key", other}));
        QVERIFY(xdotool(press));
        QTRY_COMPARE(spy.count(), 2);
        QTest::qWait(kSettleMs);
        QCOMPARE(spy.count(), 2);
    }

    void keyHeldElsewhereIsTaken_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::newRow("another client, every lock variant") << "all";
        // The variants grabbed before the refusal came back are let go again.
        QTest::newRow("another client, the NumLock variant") << "NumLock";
        QTest::newRow("this program") << "this";
    }

    // Registering says Taken and nothing activates; the holder keeps the key,
    // and once it lets go another client can take every variant.
    void keyHeldElsewhereIsTaken()
    {
        QFETCH(QString, holder);
        auto first = createGlobalHotKey();
        QSignalSpy firstSpy(first.get(), &GlobalHotKey::activated);
        std::vector<quint16> held;
        if (holder == "this")
            QCOMPARE(first->registerKey(kAltShiftS), HotKeyResult::Registered);
        else
            held = holder == "all" ? m_other.lockVariants()
                                   : std::vector<quint16>{m_other.lockVariants()[2]};
        for (quint16 lock : held)
            QCOMPARE(m_other.grabKey(kAltShift | lock, m_s), 0);
        m_other.takeKeyPresses();

        auto hotKey = createGlobalHotKey();
        QSignalSpy spy(hotKey.get(), &GlobalHotKey::activated);
        QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Taken);
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTest::qWait(kSettleMs);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(firstSpy.count() + m_other.takeKeyPresses(), holder == "NumLock" ? 0 : 1);
        for (quint16 lock : held)
            m_other.ungrabKey(kAltShift | lock, m_s);
        first.reset();
        QVERIFY(otherCanTakeTheKey());
    }

    // Registering again replaces the key; unregistering (twice does no harm)
    // gives it back; it can be registered again; a key X has no fixed place
    // for is refused.
    void unregisterGivesTheKeyBack()
    {
        auto hotKey = createGlobalHotKey();
        QSignalSpy spy(hotKey.get(), &GlobalHotKey::activated);
        QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
        QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
        for (quint16 lock : m_other.lockVariants())
            QCOMPARE(m_other.grabKey(kAltShift | lock, m_s), 10); // BadAccess while held
        hotKey->unregisterKey();
        hotKey->unregisterKey();
        QVERIFY(otherCanTakeTheKey());
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTest::qWait(kSettleMs);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(hotKey->registerKey(kAltShiftS), HotKeyResult::Registered);
        QVERIFY(xdotool({"key", "alt+shift+s"}));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(hotKey->registerKey(QKeyCombination(Qt::AltModifier, Qt::Key_F13)),
                 HotKeyResult::Unsupported);
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 77;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    setUpApplicationLook(app);
    X11PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "x11_platform_test.moc"
