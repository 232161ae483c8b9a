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
#include <thread>

namespace tintavo {
namespace {

using testing_support::generationColor;
using testing_support::generationColors;

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

TEST_F(SettingsProcessTest, KilledSaveLeavesTheOldOrTheNewFile)
{
#ifdef TINTAVO_SANITIZED_BUILD
    constexpr quint32 kCount = 8192;
#else
    constexpr quint32 kCount = 32768;
#endif
    constexpr int kKills = 220;
    ASSERT_TRUE(WriteProfileString("Keep", "mine", "1", path()));

    // Undisturbed saves give the first generations and the time a save over
    // a full file takes, start-up included, so the kills spread over all of it.
    qint64 saveNs = 1000000;
    for (quint32 generation = 1; generation <= 3; ++generation) {
        QElapsedTimer timer;
        timer.start();
        QProcess writer;
        writer.start(kHelper, {QStringLiteral("crash-writer"), path(), QString::number(kCount),
                               QString::number(generation)});
        ASSERT_TRUE(writer.waitForFinished(60000));
        ASSERT_EQ(writer.exitCode(), 0);
        if (generation > 1)
            saveNs = std::max(saveNs, timer.nsecsElapsed());
        ASSERT_EQ(wholeGeneration(LoadStoredColors(kCount), generation, generation),
                  int(generation));
    }

    QRandomGenerator random(4242);
    quint32 current = 3;
    int keptOld = 0;
    int gotNew = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const quint32 next = current + 1;
        QProcess writer;
        writer.start(kHelper, {QStringLiteral("crash-writer"), path(), QString::number(kCount),
                               QString::number(next)});
        ASSERT_TRUE(writer.waitForStarted(30000));
        const qint64 delayNs = qint64(random.bounded(double(saveNs) * 1.2));
        std::this_thread::sleep_for(std::chrono::nanoseconds(delayNs));
        writer.kill();
        ASSERT_TRUE(writer.waitForFinished(30000));

        const int found = wholeGeneration(LoadStoredColors(kCount), current, next);
        ASSERT_NE(found, -1) << "kill " << kill << " after " << delayNs << " ns left a mixed file";
        ASSERT_EQ(ReadProfileInt("keep", "MINE", 0, path()), 1) << "kill " << kill;
        if (found == int(next)) {
            current = next;
            ++gotNew;
        } else {
            ++keptOld;
        }
    }
    std::printf("%d kills: %d left the old file, %d the new one\n", kKills, keptOld, gotNew);
    RecordProperty("kept_old", keptOld);
    RecordProperty("got_new", gotNew);

    // A later save still works, whatever the kills left behind.
    SaveStoredColors(generationColors(current + 1, kCount));
    QFile lock(path() + QStringLiteral(".lock"));
    lock.open(QIODevice::ReadOnly);
    EXPECT_EQ(wholeGeneration(LoadStoredColors(kCount), current + 1, current + 1), int(current + 1))
        << "left behind: " << QDir(m_dir.path()).entryList(QDir::Files).join(' ').toStdString()
        << "; lock file: " << lock.readAll().toStdString();
}

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
    const IniSettings s = LoadSettings();
    EXPECT_EQ(s.nColor, qint32(kRounds));
    EXPECT_EQ(s.StartPoint, qint32(kRounds));
    EXPECT_EQ(ReadProfileInt("Keep", "mine", 0, path()), 1);

    // Nothing was written twice: one section each, one line per key.
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_EQ(text.count("[COLOR]"), 1);
    EXPECT_EQ(text.count("[APPSET]") + text.count("[AppSet]"), 1);
    EXPECT_EQ(text.count("\r\n"), qsizetype(1 + 1 + 1 + kCount + 1 + 5));
}

} // namespace
} // namespace tintavo
