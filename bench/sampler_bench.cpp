// What the picker costs: one sample (pointer position and the pixel there),
// and the processor time of its 50 ms timer while the pointer rests, where a
// tick does nothing but ask for the pointer position.
#include "platform/screen_sampler.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

using namespace tintavo;

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

template <typename Step> double microsecondsPerCall(int count, Step step)
{
    for (int i = 0; i < count / 10; ++i) // warm up
        step(i);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        step(i);
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / count;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("sampler_bench: no DISPLAY, skipped");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    auto sampler = createScreenSampler();
    if (!sampler->available()) {
        std::puts("sampler_bench: the screen cannot be read here, skipped");
        return 0;
    }

    volatile ColorValue sink = 0;
    const double sample = microsecondsPerCall(20000, [&](int) {
        const QPoint p = sampler->cursorPos();
        sink = sampler->screenPixel(p);
    });
    const double pointerOnly =
        microsecondsPerCall(20000, [&](int) { sink = sampler->cursorPos().x(); });
    const double fullSample = microsecondsPerCall(5000, [&](int) {
        const QPoint p = sampler->cursorPos();
        const quintptr window = sampler->windowFromPoint(p);
        const QPoint client = sampler->screenToClient(window, p);
        sink = sampler->pixelAt(window, client);
    });
    std::printf("sample (pointer + pixel):                       %7.1f us  (target <= 50)\n",
                sample);
    std::printf("pointer query alone:                            %7.1f us\n", pointerOnly);
    std::printf("sample with window lookup and client point:     %7.1f us\n", fullSample);

    int ticks = 0;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        sink = sampler->cursorPos().x();
        ++ticks;
    });
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    timer.start();
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
    app.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    std::printf(
        "at rest, 50 ms timer, %4.1f s, %d ticks:          %7.1f ms CPU (%.3f%% of a core)\n",
        seconds, ticks, cpu * 1000.0, 100.0 * cpu / seconds);
    return 0;
}
