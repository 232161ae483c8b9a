// A separate process for the settings tests, to be killed in the middle of a
// save, to save beside another, or to save as another user.
//
// [as-nobody] save PATH COUNT FIRST LAST PARITY: saves generations FIRST to
// LAST of a box of COUNT swatches into PATH, swatch i of generation g as
// g * 65536 + i, saying "saving" as it begins. PARITY 0 or 1 saves only the
// even or odd swatches (the others white, which leaves them alone) and a key
// of its own each round: nColor or StartPoint set to the generation.
// [as-nobody] restore: finishes interrupted saves and prints their files.
#include "settings/color_box_store.h"
#include "settings/ini_settings.h"
#include "settings/safe_file.h"

#include <QByteArray>

#include <cstdio>
#include <cstring>
#include <grp.h>
#include <unistd.h>

using namespace tintavo;

int main(int argc, char **argv)
{
    // As an ordinary user: nobody, when started as root.
    if (argc > 1 && std::strcmp(argv[1], "as-nobody") == 0) {
        const gid_t nobody = 65534;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)) {
            std::perror("becoming nobody");
            return 2;
        }
        --argc;
        ++argv;
    }
    if (argc == 2 && std::strcmp(argv[1], "restore") == 0) {
        for (const QString &path : RestoreInterruptedSaves())
            std::printf("%s\n", path.toLocal8Bit().constData());
        return 0;
    }
    if (argc != 7 || std::strcmp(argv[1], "save") != 0) {
        std::fprintf(stderr, "usage: [as-nobody] save PATH COUNT FIRST LAST PARITY | "
                             "[as-nobody] restore\n");
        return 2;
    }
    setIniPathForTesting(QString::fromLocal8Bit(argv[2]));
    const auto number = [argv](int i) { return QByteArray(argv[i]).toUInt(); };
    const quint32 count = number(3), parity = number(6);
    std::printf("saving\n");
    std::fflush(stdout);
    for (quint32 g = number(4); g <= number(5); ++g) {
        std::vector<ColorValue> colors(count);
        for (quint32 i = 0; i < count; ++i)
            colors[i] = parity < 2 && i % 2 != parity ? kWhite : ColorValue(g * 65536 + i);
        SaveResult result = SaveStoredColors(colors);
        if (result && parity == 0)
            result = SaveSettings(Settings{true, true, qint32(g), true, 0});
        if (result && parity == 1)
            result = SaveStartPoint(qint32(g));
        if (!result) {
            ColorBoxStore::printFailure(result);
            return 1;
        }
    }
    return 0;
}
