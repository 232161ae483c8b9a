// For the settings tests to kill mid-save, run twice at once or as nobody.
// save PATH COUNT FIRST LAST PARITY: loads COUNT swatches from PATH, says
// "saving", then for each generation g from FIRST to LAST sets swatch i to
// g * 65536 + i (PARITY 0 or 1: only swatch 2 * (g - FIRST) + PARITY) and
// StartPoint to g, and saves as at exit; PARITY 0 also saves nColor as g.
// restore PATH: finishes an interrupted save of PATH and prints the file.
// hold PATH MS: takes PATH's save lock, says "holding", keeps it MS
// milliseconds (or until killed), then ends.
#include "colorbox/color_box_model.h"
#include "colorbox/color_box_store.h"
#include "settings/ini_settings.h"
#include "settings/safe_file.h"
#include "settings/save_lock.h"
#include "settings/save_queue.h"
#include "settings/settings_store.h"
#include "settings_saves.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

using namespace tintavo;

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "restore") == 0) {
        for (const QString &path : restoreInterruptedSaves(QString::fromLocal8Bit(argv[2])))
            std::printf("%s\n", path.toLocal8Bit().constData());
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "hold") == 0) {
        SaveResult failure;
        const auto lock = lockForSaving(QString::fromLocal8Bit(argv[2]), failure);
        if (!lock)
            return 1;
        std::printf("holding\n");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(QByteArray(argv[3]).toInt()));
        return 0;
    }
    if (argc != 7 || std::strcmp(argv[1], "save") != 0)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    const auto number = [argv](int i) { return QByteArray(argv[i]).toUInt(); };
    const quint32 count = number(3), parity = number(6);
    const std::vector<ColorValue> stored = SettingsSnapshot(path).storedColors(qint32(count));
    std::vector<Rgb> colors(stored.size());
    std::ranges::transform(stored, colors.begin(), toRgb);
    ColorBoxModel box;
    box.setSwatches(colors);
    SaveQueue saves;
    SettingsStore settings(saves, path);
    settings.setLoaded(Settings{.autoSave = false});
    ColorBoxStore store(box, settings, saves, path);
    store.setLoaded();
    std::printf("saving\n");
    std::fflush(stdout);
    for (quint32 g = number(4); g <= number(5); ++g) {
        for (quint32 i = 0; i < count; ++i) {
            if (parity == 2)
                colors[i] = toRgb(ColorValue(g * 65536 + i));
            else if (i == 2 * (g - number(4)) + parity)
                box.setColor(i, toRgb(ColorValue(g * 65536 + i)));
        }
        if (parity == 2)
            box.setColors(colors); // one change of every swatch, as a random fill
        box.forgetHistory();
        box.setNextCaptureSlot(qint32(g));
        SaveResult result = store.save();
        if (result && parity == 0)
            result = test::saveDialogSettings(Settings{.swatchCount = qint32(g)}, path);
        if (!result) {
            printSaveFailure(result);
            return 1;
        }
        // Changes come apart, as a user's do: back to back, a copy could keep
        // the other out of the lock longer than a save waits for it.
        if (parity != 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}
