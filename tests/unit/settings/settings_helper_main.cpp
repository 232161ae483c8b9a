// A separate process for the settings tests: one that is killed in the middle
// of a save, two that save at the same time, one that runs as another user.
#include "process_support.h"
#include "settings/color_box_store.h"
#include "settings/ini_path.h"
#include "settings/ini_settings.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <cstring>
#include <grp.h>
#include <unistd.h>

using namespace tintavo;
using namespace tintavo::testing_support;

namespace {

quint32 number(const char *text)
{
    return QByteArray(text).toUInt();
}

int reported(const SaveResult &result)
{
    if (!result)
        ColorBoxStore::printFailure(result);
    return result ? 0 : 1;
}

// crash-writer PATH COUNT GENERATION: one save of the whole colour box, said
// on standard output ("saving") as it begins.
int crashWriter(char **argv)
{
    setIniPathForTesting(QString::fromLocal8Bit(argv[2]));
    const std::vector<ColorValue> colors = generationColors(number(argv[4]), number(argv[3]));
    std::printf("saving\n");
    std::fflush(stdout);
    return reported(SaveStoredColors(colors));
}

// session PATH INDEX COLOR: a running copy that loads 8 swatches, changes
// one, says "ready" and saves as at exit when a line arrives on its input.
int session(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setIniPathForTesting(QString::fromLocal8Bit(argv[2]));
    std::vector<ColorValue> colors = SettingsSnapshot().storedColors(8);
    ColorBoxStore store({[&]() -> const std::vector<ColorValue> & { return colors; },
                         [] { return 0; }, [] { return false; }});
    store.setLoaded(colors);
    colors[number(argv[3])] = ColorValue(number(argv[4]));
    store.markChanged(int(number(argv[3])));
    std::printf("ready\n");
    std::fflush(stdout);
    char line[8];
    if (!std::fgets(line, sizeof line, stdin))
        return 2;
    return reported(store.save());
}

// writer PATH PARITY ROUNDS COUNT: saves its half of the swatches ROUNDS times,
// round r with generation r, and one more key of its own each round.
int writer(char **argv)
{
    setIniPathForTesting(QString::fromLocal8Bit(argv[2]));
    const quint32 parity = number(argv[3]);
    const quint32 rounds = number(argv[4]);
    const quint32 count = number(argv[5]);
    for (quint32 round = 1; round <= rounds; ++round) {
        std::vector<ColorValue> colors = generationColors(round, count);
        for (quint32 i = 0; i < count; ++i) {
            if (i % 2 != parity)
                colors[i] = kWhite;
        }
        SaveStoredColors(colors);
        if (parity == 0)
            SaveSettings(Settings{1, 1, qint32(round), 1, 0});
        else
            SaveStartPoint(qint32(round));
    }
    return 0;
}

// Goes on as nobody when started as root.
bool becomeNobody()
{
    const gid_t nobody = 65534;
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)) {
        std::perror("dropping privileges");
        return false;
    }
    return true;
}

// ini-path PROGRAM_DIR: as an ordinary user (nobody, when started as root),
// prints the settings path for a program in PROGRAM_DIR and saves into it.
int iniPath(char **argv)
{
    if (!becomeNobody())
        return 2;
    setProgramDirForTesting(QString::fromLocal8Bit(argv[2]));
    const QByteArray path = GetIniPath().toLocal8Bit();
    std::printf("%s\n", path.constData());
    SaveStartPoint(4);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // "as-nobody MODE ...": MODE as an ordinary user.
    if (argc > 2 && std::strcmp(argv[1], "as-nobody") == 0) {
        if (!becomeNobody())
            return 2;
        --argc;
        ++argv;
    }
    if (argc == 2 && std::strcmp(argv[1], "restore") == 0) {
        for (const QString &path : RestoreInterruptedSaves())
            std::printf("%s\n", path.toLocal8Bit().constData());
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "session") == 0)
        return session(argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "crash-writer") == 0)
        return crashWriter(argv);
    if (argc == 6 && std::strcmp(argv[1], "writer") == 0)
        return writer(argv);
    if (argc == 3 && std::strcmp(argv[1], "ini-path") == 0)
        return iniPath(argv);
    std::fprintf(stderr, "usage: crash-writer PATH COUNT GENERATION | writer PATH PARITY "
                         "ROUNDS COUNT | ini-path PROGRAM_DIR | restore | session PATH INDEX "
                         "COLOR, each after an optional as-nobody\n");
    return 2;
}
