// What the picker costs: one sample (pointer position and the pixel there),
// a whole look after the pointer moved, the time from a motion of the
// pointing device to the loupe showing it, and how often the picker wakes
// while the pointer rests, against a blinking caret.
#include "colorbox/color_box_model.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/global_hotkey.h"
#include "platform/pointer_watch.h"
#include "platform/screen_sampler.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QCursor>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tintavo;

namespace {

// Runs the event loop for a while.
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Figure
{
    double median;
    double best;
};

// Averages over `count` calls, in five rounds: the median round is the
// figure, the best round shows what an idle machine gives (others share it).
template <typename Step> Figure microsecondsPerCall(int count, Step step)
{
    for (int i = 0; i < count / 10; ++i) // warm up
        step(i);
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count / 5; ++i)
            step(i);
        const std::chrono::duration<double, std::micro> spent =
            std::chrono::steady_clock::now() - start;
        rounds.push_back(spent.count() / (count / 5));
    }
    std::sort(rounds.begin(), rounds.end());
    return {rounds[2], rounds[0]};
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("sampler_bench: no DISPLAY, skipped");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    auto sampler = createScreenSampler();
    if (!sampler->available()) {
        std::puts("sampler_bench: the screen cannot be read here, skipped");
        return 0;
    }

    volatile ColorValue sink = 0;
    const Figure sample = microsecondsPerCall(20000, [&](int) {
        const QPoint p = sampler->pointerPosition();
        sink = sampler->pixelColor(p).value_or(Rgb()).red;
    });
    const Figure pointerOnly =
        microsecondsPerCall(20000, [&](int) { sink = sampler->pointerPosition().x(); });
    // A whole picker tick after the pointer moved (labels, swatch and, with
    // the loupe, its 11 x 11 read, placement and drawing), painted before the
    // next one starts: without the loupe, with it, and with it and the mean
    // of 5 x 5 pixels. The three take turns, round by round, so that whatever
    // else the machine does weighs on all alike.
    ColorBoxModel box;
    auto hotKey = createGlobalHotKey();
    const PickerOptions kinds[] = {{.loupe = false}, {.loupe = true}, {.sampleSize = 5}};
    std::vector<double> rounds[3];
    for (int round = 0; round < 11; ++round) {
        for (int kind = 0; kind < 3; ++kind) {
            PickerWindow picker(box, *sampler, *hotKey, {}, kinds[kind]);
            picker.show();
            const Figure f = microsecondsPerCall(200, [&](int i) {
                QCursor::setPos(400 + i % 2, 300);
                picker.sampleUnderPointer();
                QCoreApplication::processEvents();
            });
            rounds[kind].push_back(f.median);
        }
    }
    Figure tick[3];
    for (int kind = 0; kind < 3; ++kind) {
        std::sort(rounds[kind].begin(), rounds[kind].end());
        tick[kind] = {rounds[kind][5], rounds[kind][0]};
    }
    const Figure tickPlain = tick[0], tickLoupe = tick[1], tickMean = tick[2];
    std::printf("%-48s %8s %8s\n", "microseconds per call", "median", "best");
    std::printf("%-48s %8.1f %8.1f  (target <= 50)\n", "sample (pointer + pixel)", sample.median,
                sample.best);
    std::printf("%-48s %8.1f %8.1f\n", "pointer query alone", pointerOnly.median, pointerOnly.best);
    std::printf("%-48s %8.1f %8.1f\n", "picker tick, moved pointer, no loupe", tickPlain.median,
                tickPlain.best);
    std::printf("%-48s %8.1f %8.1f  (%.2fx, target <= 1.5x)\n", "picker tick, moved pointer, loupe",
                tickLoupe.median, tickLoupe.best, tickLoupe.median / tickPlain.median);
    std::printf("%-48s %8.1f %8.1f  (%.2fx the single pixel, target <= 1.2x)\n",
                "picker tick, moved pointer, loupe, 5 x 5 mean", tickMean.median, tickMean.best,
                tickMean.median / tickLoupe.median);

    // The live picker follows motion as the server reports it: the time from
    // a move of the pointing device (XTEST's, through xdotool) reaching the
    // program to the picker showing the new position and the loupe drawn.
    PickerWindow picker(box, *sampler, *hotKey, {}, {});
    picker.show();
    QCursor::setPos(400, 300);
    settle(1000);
    QLabel *position = nullptr;
    for (QLabel *label : picker.findChildren<QLabel *>())
        position = label->text().startsWith(QStringLiteral("光标位置")) ? label : position;
    auto watch = createPointerWatch();
    std::vector<double> motion;
    if (watch->watching() && position) {
        QElapsedTimer sinceMotion;
        QObject::connect(watch.get(), &PointerWatch::moved, [&] {
            if (!sinceMotion.isValid())
                sinceMotion.start();
        });
        for (int i = 0; i < 60; ++i) {
            QCursor::setPos(400, 300 + i % 2);
            settle(200);
            const QString before = position->text();
            sinceMotion.invalidate();
            QProcess::execute(QStringLiteral("xdotool"), {"mousemove_relative", "--", "7", "0"});
            while (position->text() == before)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            QGuiApplication::sync(); // the loupe drawn on the server
            if (sinceMotion.isValid())
                motion.push_back(double(sinceMotion.nsecsElapsed()) / 1e6);
        }
    }

    // Wake-ups with the pointer at rest, against what a blinking caret costs
    // the same toolkit: the picker open, then a window with a line edit that
    // has the focus, each alone for ten seconds.
    const auto wakeUps = [&](QWidget &shown) {
        shown.show();
        settle(1000);
        int count = 0;
        auto *dispatcher = QAbstractEventDispatcher::instance();
        const auto counting = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake,
                                               [&] { ++count; });
        settle(10000);
        QObject::disconnect(counting);
        shown.hide();
        return count / 10.0;
    };
    picker.hide();
    const double pickerWakes = wakeUps(picker);
    QLineEdit caret;
    caret.setText(QStringLiteral("光标"));
    const double caretWakes = wakeUps(caret);
    if (motion.empty()) {
        std::puts("motion to the loupe: the server reports no raw motion here, skipped");
    } else {
        std::sort(motion.begin(), motion.end());
        std::printf("%-48s %8.2f ms  (worst %.2f, target <= 17)\n",
                    "device motion to the loupe's new centre, median", motion[motion.size() / 2],
                    motion.back());
    }
    std::printf("%-48s %8.1f /s  (caret alone %.1f /s: %.2fx, target <= 1x)\n",
                "live picker at rest, wake-ups", pickerWakes, caretWakes,
                caretWakes > 0 ? pickerWakes / caretWakes : 0.0);
    return 0;
}
