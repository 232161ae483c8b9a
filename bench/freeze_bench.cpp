// What freezing the screen costs: the time from the key to the frame shown
// on every monitor, the memory it holds while frozen (the frame read whole
// into the program, as a region or a colour-vision view needs it) and gives
// back after, over many cycles, and the time from pointer motion to the
// loupe's new centre on the frozen frame. Meant for a 3840 x 2160 screen
// (bench/run.sh starts one).
#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"
#include "platform/screen_sampler.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <vector>

using namespace tintavo;

namespace {

// Resident memory in bytes, as the system counts it.
double residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * 4096.0;
}

// Shows the frame and returns once every one of its windows is on the screen.
void showAndWait(FrozenScreen &frozen)
{
    frozen.show();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        bool all = true;
        for (QWindow *w : QGuiApplication::topLevelWindows())
            all = all && (w->objectName() != QLatin1String("FrozenFrame") || w->isExposed());
        if (all)
            break;
    }
    QGuiApplication::sync(); // drawn on the server, not only sent
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("freeze_bench: no DISPLAY, skipped");
        return 0;
    }
    // The heap as the program sets it up: large blocks go back to the
    // system when freed, whichever thread had them.
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    auto sampler = createScreenSampler();
    if (!sampler->available()) {
        std::puts("freeze_bench: the screen cannot be read here, skipped");
        return 0;
    }

    std::vector<double> shown;
    double frameBytes = 0, before = 0, peak = 0, after = 0;
    QSize size;
    for (int i = 0; i < cycles; ++i) {
        if (i == 0)
            before = residentBytes();
        QElapsedTimer clock;
        clock.start();
        {
            FrozenScreen frozen(*sampler);
            if (frozen.isNull()) {
                std::puts("freeze_bench: the screen could not be read whole");
                return 1;
            }
            showAndWait(frozen);
            if (i < 50)
                shown.push_back(double(clock.nsecsElapsed()) / 1e6);
            if (frozen.frame().isNull()) {
                std::puts("freeze_bench: the frozen frame could not be read whole");
                return 1;
            }
            size = QGuiApplication::primaryScreen()->size() *
                   QGuiApplication::primaryScreen()->devicePixelRatio();
            frameBytes = double(size.width()) * size.height() * 4;
            peak = std::max(peak, residentBytes());
        }
        QCoreApplication::processEvents();
    }
    after = residentBytes();

    // Motion to the loupe's new centre on the frame: the pointer moves, the
    // engine looks and the loupe is drawn.
    FrozenScreen frozen(*sampler);
    showAndWait(frozen);
    PickEngine engine(*sampler, {.loupe = true, .sampleSize = 1, .colorManaged = false});
    engine.setFrame(&frozen);
    std::vector<double> motion;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer clock;
        clock.start();
        sampler->movePointer(QPoint(400 + i % 7, 300 + i % 5));
        engine.update();
        QCoreApplication::processEvents();
        QGuiApplication::sync();
        motion.push_back(double(clock.nsecsElapsed()) / 1e6);
    }

    // Of the time to the frame shown, what taking the screen takes (held on
    // the display server where it can be); and reading it all into the
    // program, which a frozen frame does off its thread once it is shown.
    std::vector<double> taken, read;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer clock;
        clock.start();
        const std::unique_ptr<HeldScreen> held = sampler->holdScreen();
        taken.push_back(double(clock.nsecsElapsed()) / 1e6);
        clock.restart();
        const ScreenFrame frame =
            held ? held->read(QRect(QPoint(0, 0), held->size())) : sampler->grabFrame();
        read.push_back(double(clock.nsecsElapsed()) / 1e6);
    }

    std::printf("screen %dx%d, frame %.1f MiB, %d freeze cycles\n", size.width(), size.height(),
                frameBytes / 1048576.0, cycles);
    std::printf("%-52s %8.1f ms  (target <= 150)\n", "key to frozen frame shown, median",
                median(shown));
    std::printf("%-52s %8.1f ms\n", "  of which taking the screen, median", median(taken));
    std::printf("%-52s %8.1f ms\n", "reading the frame whole (after it shows), median",
                median(read));
    std::printf("%-52s %8.2fx  (target <= 1.5x the frame)\n", "memory growth while frozen, worst",
                (peak - before) / frameBytes);
    std::printf("%-52s %8.2f MiB  (target <= 1)\n", "memory after the last cycle, over the start",
                (after - before) / 1048576.0);
    std::printf("%-52s %8.2f ms  (target <= 17)\n", "motion to the loupe's new centre, median",
                median(motion));
    return 0;
}
