// Saves seen from outside the saving process: one killed at random moments,
// two running copies saving into the same file.
#include "process_support.h"
#include "settings/ini_profile.h"
#include "settings/ini_settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>

namespace tintavo {
namespace {

using testing_support::fileBytes;
using testing_support::generationColor;
using testing_support::generationColors;
using testing_support::giveToNobody;
using testing_support::startHelper;

const QString kHelper = QStringLiteral(TINTAVO_SETTINGS_HELPER);

class SettingsProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setIniPathForTesting(path());
    }

    void TearDown() override { setIniPathForTesting(QString()); }

    QString path() const { return m_dir.filePath(QStringLiteral("Tintavo.ini")); }

    // A configuration folder for the helper, and folders it may enter but
    // (as nobody) not add files to.
    QString prepareForNobody(const QString &config, const QStringList &closed = {})
    {
        QDir().mkpath(config);
        EXPECT_TRUE(giveToNobody(config));
        for (const QString &dir : closed + QStringList{m_dir.path()})
            EXPECT_EQ(::chmod(QFile::encodeName(dir).constData(), 0755), 0);
        return config;
    }

    // Runs the helper to its end; its exit code.
    int run(const QStringList &args, const QString &config, QByteArray *out = nullptr)
    {
        QProcess helper;
        startHelper(helper, kHelper, args, config);
        EXPECT_TRUE(helper.waitForFinished(60000));
        if (out)
            *out = helper.readAllStandardOutput() + helper.readAllStandardError();
        return helper.exitCode();
    }

    QTemporaryDir m_dir;
};

// Which of two generations every swatch holds: the old one, the new one, or
// -1 when the file mixes them, lacks a swatch or holds anything else.
int wholeGeneration(const std::vector<ColorValue> &colors, quint32 oldGen, quint32 newGen)
{
    bool allOld = true;
    bool allNew = true;
    for (quint32 i = 0; i < colors.size(); ++i) {
        allOld = allOld && colors[i] == generationColor(oldGen, i);
        allNew = allNew && colors[i] == generationColor(newGen, i);
    }
    return allNew ? int(newGen) : allOld ? int(oldGen) : -1;
}

qulonglong inode(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

struct KillCase
{
    const char *name;
    // The folder takes no new files from the user (nobody), the file is
    // theirs: saves rewrite it in place, behind a recovery copy.
    bool inPlace;
    quint32 count;
    int kills;
};

class KilledSaveTest : public SettingsProcessTest, public ::testing::WithParamInterface<KillCase>
{
};

// Killed at any moment of a save (and, in place, followed by the next start's
// restore), the file is the whole old or the whole new one.
TEST_P(KilledSaveTest, LeavesTheOldOrTheNewFile)
{
    const KillCase &c = GetParam();
    const QString config = m_dir.filePath(QStringLiteral("config"));
    const QStringList user = c.inPlace ? QStringList{QStringLiteral("as-nobody")} : QStringList{};
    prepareForNobody(config);
    ASSERT_TRUE(WriteProfileString("Keep", "mine", "1", path()));
    ASSERT_TRUE(SaveStoredColors(generationColors(1, c.count)));
    ASSERT_TRUE(giveToNobody(path()));
    const qulonglong original = inode(path());
    // Kills spread over the save itself, from the moment the helper says it begins.
    const auto startSaving = [&](QProcess &writer, quint32 generation) {
        startHelper(writer, kHelper,
                    user + QStringList{QStringLiteral("crash-writer"), path(),
                                       QString::number(c.count), QString::number(generation)},
                    config);
        EXPECT_TRUE(writer.waitForReadyRead(30000));
    };
    QElapsedTimer timer;
    QProcess first;
    startSaving(first, 2);
    timer.start();
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_EQ(first.exitCode(), 0);
    const qint64 saveNs = std::max<qint64>(timer.nsecsElapsed(), 100000);

    QRandomGenerator random(77);
    quint32 current = 2;
    int gotNew = 0, restored = 0;
    for (int kill = 0; kill < c.kills; ++kill) {
        QProcess writer;
        startSaving(writer, current + 1);
        std::this_thread::sleep_for(std::chrono::nanoseconds(random.bounded(saveNs * 6 / 5)));
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished(30000));
        QByteArray said;
        ASSERT_EQ(run(user + QStringList{QStringLiteral("restore")}, config, &said), 0);
        restored += said.isEmpty() ? 0 : 1;

        const int found = wholeGeneration(LoadStoredColors(c.count), current, current + 1);
        ASSERT_NE(found, -1) << "kill " << kill << " left a mixed file";
        ASSERT_EQ(ReadProfileInt("keep", "MINE", 0, path()), 1) << "kill " << kill;
        gotNew += found == int(current + 1) ? 1 : 0;
        current = quint32(found);
    }
    std::printf("%s: %d kills, %d kept the old file, %d the new one (%d restored at the next "
                "start)\n",
                c.name, c.kills, c.kills - gotNew, gotNew, restored);
    EXPECT_EQ(inode(path()) == original, c.inPlace);
    EXPECT_EQ(QDir(config + QStringLiteral("/Tintavo/recovery"))
                  .entryList({QStringLiteral("*.recovery")}, QDir::Files),
              QStringList());
    // A later save still works, whatever the kills left behind.
    ASSERT_TRUE(SaveStoredColors(generationColors(current + 1, c.count)));
    EXPECT_EQ(wholeGeneration(LoadStoredColors(c.count), current + 1, current + 1),
              int(current + 1));
}

#ifdef TINTAVO_SANITIZED_BUILD
constexpr quint32 kLargeBox = 8192;
#else
constexpr quint32 kLargeBox = 32768;
#endif

INSTANTIATE_TEST_SUITE_P(Saves, KilledSaveTest,
                         ::testing::Values(KillCase{"Replaced", false, kLargeBox, 220},
                                           KillCase{"InPlace", true, 2048, 120}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsProcessTest, TwoRunningCopiesKeepEachOthersKeys)
{
    constexpr quint32 kCount = 256;
    constexpr quint32 kRounds = 100;
    ASSERT_TRUE(WriteProfileString("Keep", "mine", "1", path()));

    QProcess even;
    QProcess odd;
    const auto args = [&](int parity) {
        return QStringList{QStringLiteral("writer"), path(), QString::number(parity),
                           QString::number(kRounds), QString::number(kCount)};
    };
    even.start(kHelper, args(0));
    odd.start(kHelper, args(1));
    ASSERT_TRUE(even.waitForFinished(120000));
    ASSERT_TRUE(odd.waitForFinished(120000));
    ASSERT_EQ(even.exitCode(), 0) << even.readAllStandardError().toStdString();
    ASSERT_EQ(odd.exitCode(), 0) << odd.readAllStandardError().toStdString();

    // Each copy wrote only its own half; both halves hold their last round.
    const std::vector<ColorValue> colors = LoadStoredColors(kCount);
    for (quint32 i = 0; i < kCount; ++i)
        ASSERT_EQ(colors[i], generationColor(kRounds, i)) << "swatch " << i;
    const Settings s = LoadSettings();
    EXPECT_EQ(s.swatchCount, qint32(kRounds));
    EXPECT_EQ(s.startSlot, qint32(kRounds));
    EXPECT_EQ(ReadProfileInt("Keep", "mine", 0, path()), 1);

    // Nothing was written twice: one section each, one line per key.
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_EQ(text.count("[COLOR]"), 1);
    EXPECT_EQ(text.count("[APPSET]") + text.count("[AppSet]"), 1);
    EXPECT_EQ(text.count("\r\n"), qsizetype(1 + 1 + 1 + kCount + 1 + 5));
}

struct FullDiskCase
{
    const char *name;
    bool inPlace;         // the folder takes no new files (the helper runs as nobody)
    bool configOnTheDisk; // the recovery copy would go onto the full disk too
    const char *reason;
};

class FullDiskTest : public SettingsProcessTest, public ::testing::WithParamInterface<FullDiskCase>
{
};

TEST_P(FullDiskTest, FailedSaveLeavesTheFileAndSaysWhy)
{
    const QString disk = m_dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=128k,mode=0755"))
        GTEST_SKIP() << "no small filesystem to fill: mounting a tmpfs needs root and "
                        "CAP_SYS_ADMIN here ("
                     << std::strerror(errno) << ")";
    const std::shared_ptr<void> unmount(
        nullptr, [&](void *) { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
    const QString ini = disk + QStringLiteral("/Tintavo.ini");
    const QString config = prepareForNobody(
        (GetParam().configOnTheDisk ? disk : m_dir.path()) + QStringLiteral("/config"), {disk});
    setIniPathForTesting(ini);
    ASSERT_TRUE(SaveStoredColors(generationColors(1, 64)));
    ASSERT_TRUE(giveToNobody(ini));
    {
        // Fills the disk, then leaves room for a lock file but not the save.
        QFile filler(disk + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        filler.resize(filler.size() - 12288);
    }
    const QByteArray before = fileBytes(ini);
    QStringList args{QStringLiteral("crash-writer"), ini, QStringLiteral("4096"),
                     QStringLiteral("2")};
    if (GetParam().inPlace)
        args.prepend(QStringLiteral("as-nobody"));
    QByteArray said;
    EXPECT_EQ(run(args, config, &said), 1);
    EXPECT_TRUE(said.contains(ini.toUtf8()) && said.contains(GetParam().reason)) << said.data();
    EXPECT_EQ(fileBytes(ini), before);
}

INSTANTIATE_TEST_SUITE_P(
    Disks, FullDiskTest,
    ::testing::Values(FullDiskCase{"Replaced", false, false, "磁盘空间不足"},
                      FullDiskCase{"InPlaceWithoutRoomForTheCopy", true, true, "恢复副本"},
                      FullDiskCase{"InPlaceRolledBack", true, false, "磁盘空间不足"}),
    [](const auto &info) { return std::string(info.param.name); });

class CloseOrderTest : public SettingsProcessTest, public ::testing::WithParamInterface<int>
{
};

// Two copies run side by side, A changes swatch 2, B swatch 5; whichever
// closes first, both changes are in the file.
TEST_P(CloseOrderTest, TwoCopiesKeepEachOthersChanges)
{
    std::vector<ColorValue> colors{1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(SaveStoredColors(colors));
    QProcess copies[2];
    for (int i : {0, 1}) {
        startHelper(copies[i], kHelper,
                    {QStringLiteral("session"), path(), QString::number(2 + 3 * i),
                     QString::number(100 + i)},
                    m_dir.path());
        ASSERT_TRUE(copies[i].waitForReadyRead(30000));
    }
    for (int i : {GetParam(), 1 - GetParam()}) {
        copies[i].write("close\n");
        ASSERT_TRUE(copies[i].waitForFinished(30000));
        ASSERT_EQ(copies[i].exitCode(), 0) << copies[i].readAllStandardError().data();
    }
    colors[2] = 100;
    colors[5] = 101;
    EXPECT_EQ(LoadStoredColors(8), colors);
}

INSTANTIATE_TEST_SUITE_P(Orders, CloseOrderTest, ::testing::Values(0, 1));

} // namespace
} // namespace tintavo
