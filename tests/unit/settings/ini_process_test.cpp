// Saves seen from outside the saving process: one killed at random moments,
// two running copies saving into the same file at once, one on a full disk.
#include "settings/ini_file.h"
#include "settings/safe_file.h"
#include "settings/save_lock.h"
#include "settings_file_test.h"
#include "settings_saves.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>

#include <chrono>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace tintavo {
namespace {

// The save arguments of the helper (see settings_helper_main.cpp).
QStringList save(const QString &path, quint32 count, quint32 first, quint32 last, int parity = 2)
{
    return QStringList{"save", path}
           << QString::asprintf("%u %u %u %d", count, first, last, parity).split(' ');
}

// Which of two generations of the helper's colours every swatch holds; -1 for
// a mix, a missing swatch or anything else.
int wholeGeneration(const QString &path, quint32 count, quint32 oldGen, quint32 newGen)
{
    const std::vector<ColorValue> colors = readStoredColors(path, qint32(count));
    bool allOld = true, allNew = true;
    for (quint32 i = 0; i < count; ++i) {
        allOld = allOld && colors[i] == ColorValue(oldGen * 65536 + i);
        allNew = allNew && colors[i] == ColorValue(newGen * 65536 + i);
    }
    return allNew ? int(newGen) : allOld ? int(oldGen) : -1;
}

class SaveProcessTest : public test::SettingsFileTest
{
protected:
    // Lets the user nobody through the test's folder but add no files to it,
    // and gives it the configuration folder and file.
    void openToNobody(const QString &file)
    {
        QDir().mkpath(m_config);
        for (const QString &owned : {m_config, file})
            EXPECT_EQ(::chown(QFile::encodeName(owned).constData(), 65534, 65534), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
    }

    // Starts the helper, as nobody when asNobody, with the user configuration
    // folder m_config, from the test's folder (the build tree may be closed to
    // nobody).
    void start(QProcess &helper, const QStringList &args, bool asNobody = false) const
    {
        const QString copy = m_dir.filePath(QStringLiteral("settings_test_helper"));
        QFile::copy(QStringLiteral(TINTAVO_SETTINGS_HELPER), copy); // once: it replaces nothing
        QStringList command{"XDG_CONFIG_HOME=" + m_config};         // env execs, keeping the pid
        if (asNobody)
            command << "setpriv"
                    << "--reuid=65534"
                    << "--regid=65534"
                    << "--clear-groups";
        helper.start(QStringLiteral("env"), command << copy << args);
    }

    // Runs the helper to its end: its exit code, and what it said in said.
    int run(const QStringList &args, bool asNobody = false, QByteArray *said = nullptr) const
    {
        QProcess helper;
        start(helper, args, asNobody);
        EXPECT_TRUE(helper.waitForFinished(120000));
        if (said)
            *said = helper.readAllStandardOutput() + helper.readAllStandardError();
        return helper.exitCode();
    }

    QString m_config = m_dir.filePath(QStringLiteral("config"));
};

#ifdef TINTAVO_SANITIZED_BUILD
constexpr quint32 kLargeBox = 8192; // sanitizers slow every save several times over
#else
constexpr quint32 kLargeBox = 32768;
#endif

// Killed at any moment of a save (and followed by the next start's restore),
// the file is the whole old or the whole new one: replaced, or rewritten in
// place behind a recovery copy when the folder takes no new files from the
// user (nobody) but the file is theirs.
TEST_F(SaveProcessTest, KilledSaveLeavesTheOldOrTheNewFile)
{
    const std::tuple<bool, quint32, int> cases[] = {{false, kLargeBox, 220}, {true, 2048, 120}};
    for (const auto &[inPlace, count, kills] : cases) {
        const QString name = inPlace ? "in-place" : "replaced";
        usePath(m_dir.filePath(name + ".ini"));
        m_config = m_dir.filePath(name + "-config");
        ASSERT_TRUE(writeIniString("Keep", "mine", "1", path()));
        openToNobody(path());
        // Kills spread over the save itself, from the moment the helper says it begins.
        const auto startSaving = [&](QProcess &writer, quint32 generation) {
            start(writer, save(path(), count, generation, generation), inPlace);
            EXPECT_TRUE(writer.waitForReadyRead(30000));
        };
        QElapsedTimer timer;
        QProcess first;
        startSaving(first, 1);
        timer.start();
        ASSERT_TRUE(first.waitForFinished(60000));
        ASSERT_EQ(first.exitCode(), 0);
        const qint64 saveNs = std::max<qint64>(timer.nsecsElapsed(), 100000);

        QRandomGenerator random(77);
        quint32 current = 1;
        int gotNew = 0;
        for (int kill = 0; kill < kills; ++kill) {
            QProcess writer;
            startSaving(writer, current + 1);
            std::this_thread::sleep_for(std::chrono::nanoseconds(random.bounded(saveNs * 6 / 5)));
            writer.kill();
            ASSERT_TRUE(writer.waitForFinished(30000));
            ASSERT_EQ(run({QStringLiteral("restore"), path()}, inPlace), 0);
            const int found = wholeGeneration(path(), count, current, current + 1);
            ASSERT_NE(found, -1) << "kill " << kill << " left a mixed file";
            ASSERT_EQ(readIniInt("keep", "MINE", 0, path()), 1) << "kill " << kill;
            gotNew += found == int(current + 1) ? 1 : 0;
            current = quint32(found);
        }
        // The kills came both before and after the new file was in place.
        EXPECT_GT(gotNew, 0);
        EXPECT_LT(gotNew, kills);
        EXPECT_EQ(QDir(m_config + "/Tintavo/recovery").entryList({"*.recovery"}), QStringList());
        // A later save still works, whatever the kills left behind.
        ASSERT_EQ(run(save(path(), count, current + 1, current + 1), inPlace), 0);
        EXPECT_EQ(wholeGeneration(path(), count, current + 1, current + 1), int(current + 1));
    }
}

// Two running copies, each changing one swatch after another (the even and
// the odd ones) and saving each change while the other does the same: no
// change is lost, each keeps the other's keys, and nothing is written twice.
TEST_F(SaveProcessTest, TwoCopiesSavingAtOnceKeepEachOthersChanges)
{
    constexpr quint32 kCount = 256, kRounds = 100;
    ASSERT_TRUE(writeIniString("Keep", "mine", "1", path()));
    ASSERT_EQ(run(save(path(), kCount, 0, 0)), 0);
    QProcess copies[2];
    for (int parity : {0, 1})
        start(copies[parity], save(path(), kCount, 1, kRounds, parity));
    for (QProcess &copy : copies) {
        ASSERT_TRUE(copy.waitForFinished(120000));
        ASSERT_EQ(copy.exitCode(), 0) << copy.readAllStandardError().toStdString();
    }
    std::vector<ColorValue> expected(kCount);
    for (quint32 i = 0; i < kCount; ++i)
        expected[i] = ColorValue((i < 2 * kRounds ? i / 2 + 1 : 0) * 65536 + i);
    EXPECT_EQ(readStoredColors(path(), kCount), expected);
    EXPECT_EQ(readSettings(path()).swatchCount, qint32(kRounds));
    EXPECT_EQ(readSettings(path()).startSlot, qint32(kRounds));
    EXPECT_EQ(readIniInt("Keep", "mine", 0, path()), 1);
    const QByteArray text = readFile();
    EXPECT_EQ(text.count("[COLOR]"), 1);
    EXPECT_EQ(text.count("[APPSET]") + text.count("[AppSet]"), 1);
    EXPECT_EQ(text.count("\r\n"), qsizetype(1 + 1 + 1 + kCount + 1 + 5));
}

// A start puts back only the recovery copy of its own settings file; a copy
// that would write anywhere else, under its own name or under that of ours,
// is dropped with a line that names both files.
TEST_F(SaveProcessTest, RestoreWritesOnlyOntoThisCopysSettingsFile)
{
    const QString other = m_dir.filePath(QStringLiteral("other"));
    const QDir recovery(m_config + QStringLiteral("/Tintavo/recovery"));
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config));
    // Another settings file's copy waits for its own program; one that names
    // that file under our file's name is discarded, and says so.
    for (const bool underOurName : {false, true}) {
        QDir(recovery).removeRecursively();
        writeFile("[COLOR]\r\nColor0=1\r\n");
        ASSERT_TRUE(writeIniString("Keep", "mine", "1", other));
        const QByteArray otherBefore = readIniFile(other).toBytes();
        ASSERT_TRUE(writeRecoveryCopy(path(), "[COLOR]\r\nColor0=2\r\n"));
        const QString ours = recovery.filePath(recovery.entryList(QDir::Files).front());
        ASSERT_TRUE(writeRecoveryCopy(other, "[COLOR]\r\nColor0=3\r\n"));
        QString theirs = recovery.filePath(recovery.entryList(QDir::Files).last());
        if (theirs == ours)
            theirs = recovery.filePath(recovery.entryList(QDir::Files).front());
        if (underOurName) {
            ASSERT_TRUE(QFile::remove(ours) && QFile::rename(theirs, ours));
        }
        QByteArray said;
        EXPECT_EQ(run({QStringLiteral("restore"), path()}, false, &said), 0);
        const QString line = QStringLiteral("已丢弃恢复副本“%1”：它要写入“%2”，而不是这个 Tintavo "
                                            "的设置文件“%3”\n")
                                 .arg(ours, other, path());
        EXPECT_EQ(said.toStdString(), (underOurName ? line : path() + u'\n').toStdString());
        EXPECT_EQ(readFile(), underOurName ? "[COLOR]\r\nColor0=1\r\n" : "[COLOR]\r\nColor0=2\r\n");
        EXPECT_EQ(readIniFile(other).toBytes(), otherBefore);
        EXPECT_EQ(recovery.entryList(QDir::Files),
                  underOurName ? QStringList() : QStringList{QFileInfo(theirs).fileName()});
    }
    qputenv("XDG_CONFIG_HOME", home);
}

// A start waits for no other copy's save: the lock's holder writes the file
// itself, and a recovery copy it leaves is put back by the next start.
TEST_F(SaveProcessTest, RestoreWaitsForNoOtherCopy)
{
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config));
    writeFile("[COLOR]\r\nColor0=1\r\n");
    ASSERT_TRUE(writeRecoveryCopy(path(), "[COLOR]\r\nColor0=2\r\n"));
    QProcess holder;
    start(holder, {"hold", path(), "1500"});
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    EXPECT_EQ(restoreInterruptedSaves(path()), QStringList());
    ASSERT_TRUE(holder.waitForFinished(30000));
    EXPECT_EQ(restoreInterruptedSaves(path()), QStringList(path()));
    qputenv("XDG_CONFIG_HOME", home);
}

// Another copy's lock is never taken from it while it runs, however old its
// lock file looks; once it has ended, however it ended, the next save takes
// the lock at once and leaves no lock file behind.
TEST_F(SaveProcessTest, LockIsTakenOnlyFromACopyThatEnded)
{
    QProcess holder;
    start(holder, {"hold", path(), "600000"});
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    QFile lockFile(path() + ".lock");
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    EXPECT_EQ(lockFile.readAll(), QByteArray::number(holder.processId()) + '\n');
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addDays(-1),
                                     QFileDevice::FileModificationTime));
    SaveResult failure;
    EXPECT_FALSE(lockForSaving(path(), failure, 500));
    EXPECT_EQ(failure.message(),
              "无法保存设置文件“" + path() + "”：另一个正在运行的 Tintavo 一直占用着它");
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(30000));
    EXPECT_TRUE(lockForSaving(path(), failure, 0)) << "a copy that ended still kept the lock";
    EXPECT_TRUE(test::saveStartPoint(4, path()));
    EXPECT_EQ(readFile(), "[AppSet]\r\nStartPoint=4\r\n");
    EXPECT_FALSE(QFile::exists(lockFile.fileName()));
}

// A save the disk has no room for fails, naming the file and the reason, and
// leaves the file as it was: replacing it, rewriting it in place, or in place
// with no room even for the recovery copy.
TEST_F(SaveProcessTest, FullDiskLeavesTheFileAndSaysWhy)
{
    const QString disk = m_dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=128k,mode=0755"))
        GTEST_SKIP() << "no small filesystem to fill: mounting a tmpfs needs CAP_SYS_ADMIN ("
                     << std::strerror(errno) << ")";
    const std::shared_ptr<void> unmount(
        nullptr, [&](void *) { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
    usePath(disk + "/Tintavo.ini");
    const std::tuple<bool, bool, const char *> cases[] = {
        {false, false, "磁盘空间不足"}, {true, true, "恢复副本"}, {true, false, "磁盘空间不足"}};
    for (const auto &[inPlace, configOnTheDisk, reason] : cases) {
        m_config = (configOnTheDisk ? disk : m_dir.path()) + QStringLiteral("/config");
        QFile::remove(disk + "/filler");
        ASSERT_TRUE(test::saveStoredColors(std::vector<ColorValue>(64, 1), path()));
        openToNobody(path());           // the disk, too, is root's and 0755
        QFile filler(disk + "/filler"); // the disk full but for room for a lock file
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        filler.resize(filler.size() - 12288);
        const QByteArray before = readFile();
        QByteArray said;
        EXPECT_EQ(run(save(path(), 4096, 2, 2), inPlace, &said), 1);
        EXPECT_TRUE(said.contains(path().toUtf8()) && said.contains(reason)) << said.data();
        EXPECT_EQ(readFile(), before);
        QDir(m_config).removeRecursively();
    }
}

} // namespace
} // namespace tintavo
