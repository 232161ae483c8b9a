// A separate process for the settings tests: one that is killed in the middle
// of a save, two that save at the same time, one that runs as another user.
#include "process_support.h"
#include "settings/ini_path.h"
#include "settings/ini_settings.h"

#include <QByteArray>
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

// crash-writer PATH COUNT GENERATION: one save of the whole colour box.
int crashWriter(char **argv)
{
    setIniPathForTesting(QString::fromLocal8Bit(argv[2]));
    SaveStoredColors(generationColors(number(argv[4]), number(argv[3])));
    return 0;
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
            SaveSettings(IniSettings{1, 1, qint32(round), 1, 0});
        else
            SaveStartPoint(qint32(round));
    }
    return 0;
}

// ini-path PROGRAM_DIR: as an ordinary user (nobody, when started as root),
// prints the settings path for a program in PROGRAM_DIR and saves into it.
int iniPath(char **argv)
{
    if (::geteuid() == 0) {
        const gid_t nobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            std::perror("dropping privileges");
            return 2;
        }
    }
    setProgramDirForTesting(QString::fromLocal8Bit(argv[2]));
    const QByteArray path = GetIniPath().toLocal8Bit();
    std::printf("%s\n", path.constData());
    SaveStartPoint(4);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "crash-writer") == 0)
        return crashWriter(argv);
    if (argc == 6 && std::strcmp(argv[1], "writer") == 0)
        return writer(argv);
    if (argc == 3 && std::strcmp(argv[1], "ini-path") == 0)
        return iniPath(argv);
    std::fprintf(stderr, "usage: crash-writer PATH COUNT GENERATION | writer PATH PARITY "
                         "ROUNDS COUNT | ini-path PROGRAM_DIR\n");
    return 2;
}
