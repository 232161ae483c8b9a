// Figures for the settings file with a very large colour box: one save and
// one load of every swatch, on a fresh file and on a file that holds them all.
#include "settings/ini_profile.h"
#include "settings/ini_settings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tintavo;

namespace {

constexpr int kSwatches = 32768;
constexpr int kRepeats = 15;

struct Timing
{
    double medianMs;
    double minMs;
};

template <typename Work> Timing timeIt(Work work, void (*before)() = nullptr)
{
    std::vector<double> times;
    for (int i = 0; i < kRepeats; ++i) {
        if (before)
            before();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

QString g_path;

void removeFile()
{
    QFile::remove(g_path);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("Tintavo.ini"));

    std::vector<ColorValue> colors(kSwatches);
    for (int i = 0; i < kSwatches; ++i)
        colors[size_t(i)] = ColorValue((i * 2654435761u) & 0xFFFFFEu);
    std::vector<ColorValue> changed = colors;
    for (ColorValue &c : changed)
        c ^= 0x010101;

    const std::vector<bool> all(colors.size(), true);
    const Timing saveFresh = timeIt([&] { saveColorBox(colors, {}, all, 0, g_path); }, removeFile);
    bool flip = false;
    const Timing saveOver = timeIt([&] {
        saveColorBox(flip ? colors : changed, {}, all, 0, g_path);
        flip = !flip;
    });
    std::vector<ColorValue> loaded;
    const Timing load = timeIt([&] { loaded = readStoredColors(g_path, kSwatches); });
    const Timing settings = timeIt([] { (void)readSettings(g_path); });

    QFile file(g_path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const Timing parse = timeIt([&] { (void)IniProfile::fromBytes(bytes); });

    const Timing apply = timeIt([&] {
        IniProfile profile = IniProfile::fromBytes(bytes);
        for (int i = 0; i < kSwatches; ++i) {
            profile.writeString("COLOR", "Color" + QByteArray::number(i),
                                QByteArray::number(colors[size_t(i)] ^ 0x020202));
        }
        (void)profile.toBytes();
    });
    const Timing commit = timeIt([&] {
        QSaveFile out(g_path);
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        out.commit();
    });

    const bool same = loaded == colors || loaded == changed;
    std::printf("settings file with %d swatches (%lld bytes), %d runs each, median / best:\n",
                kSwatches, static_cast<long long>(bytes.size()), kRepeats);
    std::printf("  saveColorBox, no file before          %8.2f / %6.2f ms\n", saveFresh.medianMs,
                saveFresh.minMs);
    std::printf("  saveColorBox, every key replaced      %8.2f / %6.2f ms\n", saveOver.medianMs,
                saveOver.minMs);
    std::printf("  readStoredColors                      %8.2f / %6.2f ms%s\n", load.medianMs,
                load.minMs, same ? "" : "  (WRONG COLOURS)");
    std::printf("  readSettings on that file             %8.2f / %6.2f ms\n", settings.medianMs,
                settings.minMs);
    std::printf("  parse only (in memory)                %8.2f / %6.2f ms\n", parse.medianMs,
                parse.minMs);
    std::printf("  parse + 32768 writeString, in memory  %8.2f / %6.2f ms\n", apply.medianMs,
                apply.minMs);
    std::printf("  QSaveFile write + commit of the text   %8.2f / %6.2f ms\n", commit.medianMs,
                commit.minMs);
    return same ? 0 : 1;
}
