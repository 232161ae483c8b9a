// What the picker costs: one sample (pointer position and the pixel there),
// and the processor time of its 50 ms timer while the pointer rests, where a
// tick does nothing but ask for the pointer position.
#include "colorbox/color_box_model.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace tintavo;

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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
    const PickerOptions kinds[] = {{false, 1, {}}, {true, 1, {}}, {true, 5, {}}};
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

    int ticks = 0;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        sink = sampler->pointerPosition().x();
        ++ticks;
    });
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    timer.start();
    QTimer::singleShot(10000, Qt::PreciseTimer, &app, &QCoreApplication::quit);
    app.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    std::printf("at rest, 50 ms timer, %.1f s, %d ticks: %.1f ms CPU (%.3f%% of a core)\n", seconds,
                ticks, cpu * 1000.0, 100.0 * cpu / seconds);
    return 0;
}
