// Opens and closes the picker a thousand times through the main window, the
// pointer moving under it each time, and prints how much anonymous memory
// the process gains per hundred cycles after a warm-up: a picker that leaves
// anything behind shows as steady growth. Target: at most 50 KiB per 100.
#include "common/app_look.h"
#include "mainwin/main_window.h"
#include "picker/picker_window.h"
#include "session/session.h"
#include "session/start_state.h"
#include "settings/ini_settings.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace tintavo;

namespace {

// Resident anonymous memory, KiB.
long anonymousKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("picker_soak: no DISPLAY, skipped");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    setUpApplicationLook(app);
    QTemporaryDir dir;
    Session session(dir.filePath(QStringLiteral("Tintavo.ini")));
    MainWindow window(session, {});
    window.start([&session] { return readStartState(session.settingsPath()); });
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int warmUp = 100, every = 100;
    long before = 0;
    std::printf("%-8s %14s %18s\n", "cycles", "anonymous KiB", "growth per 100");
    for (int cycle = 1; cycle <= warmUp + cycles; ++cycle) {
        window.openPicker();
        settle();
        for (int move = 0; move < 2; ++move) {
            QCursor::setPos(300 + 7 * move + cycle % 5, 300 + move);
            if (PickerWindow *picker = window.picker())
                picker->sampleUnderPointer();
            settle();
        }
        if (PickerWindow *picker = window.picker())
            picker->close();
        settle();
        if (cycle == warmUp)
            before = anonymousKiB();
        if (cycle > warmUp && (cycle - warmUp) % every == 0) {
            const long now = anonymousKiB();
            std::printf("%-8d %14ld %18.1f\n", cycle - warmUp, now,
                        double(now - before) * every / (cycle - warmUp));
        }
    }
    std::printf("picker cycles: %.1f KiB per 100 after the warm-up (target <= 50)\n",
                double(anonymousKiB() - before) * every / cycles);
    return 0;
}
