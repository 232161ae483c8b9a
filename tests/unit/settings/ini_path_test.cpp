#include "settings/ini_path.h"
#include "settings/ini_profile.h"
#include "settings/ini_settings.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tintavo {
namespace {

struct ResolveCase
{
    const char *name;
    bool iniBesideProgram;
    bool programDirWritable;
    bool expectBesideProgram;
};

class ResolveIniPathTest : public ::testing::TestWithParam<ResolveCase>
{
};

TEST_P(ResolveIniPathTest, BesideTheProgramWheneverItCanServe)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    const QString config = dir.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(program));
    if (GetParam().iniBesideProgram) {
        QFile file(program + QStringLiteral("/Tintavo.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList asked;
    const QString path = ResolveIniPath(program, config, [&](const QString &d) {
        asked << d;
        return GetParam().programDirWritable;
    });
    EXPECT_EQ(path,
              (GetParam().expectBesideProgram ? program : config) + QStringLiteral("/Tintavo.ini"));
    // Only the program's folder is ever in question.
    for (const QString &d : asked)
        EXPECT_EQ(d, program);
}

INSTANTIATE_TEST_SUITE_P(Rule, ResolveIniPathTest,
                         ::testing::Values(ResolveCase{"WritableNoFile", false, true, true},
                                           ResolveCase{"WritableWithFile", true, true, true},
                                           ResolveCase{"ReadOnlyWithFile", true, false, true},
                                           ResolveCase{"ReadOnlyNoFile", false, false, false}),
                         [](const auto &info) { return std::string(info.param.name); });

// GetIniPath with the program's folder and the probe swapped in.
class GetIniPathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_program = m_dir.filePath(QStringLiteral("program"));
        m_config = m_dir.filePath(QStringLiteral("config"));
        ASSERT_TRUE(QDir().mkpath(m_program));
        m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config));
        setProgramDirForTesting(m_program);
    }

    void TearDown() override
    {
        setProgramDirForTesting(QString());
        setDirWritableProbeForTesting(nullptr);
        setIniPathForTesting(QString());
        if (m_oldConfigHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    }

    QTemporaryDir m_dir;
    QString m_program;
    QString m_config;
    QByteArray m_oldConfigHome;
};

TEST_F(GetIniPathTest, SystemWideInstallSavesIntoTheUserConfigFolder)
{
    setDirWritableProbeForTesting([](const QString &) { return false; });
    const QString path = GetIniPath();
    EXPECT_TRUE(path.startsWith(m_config + QLatin1Char('/'))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Tintavo.ini")));

    SaveStartPoint(6);
    SaveSettings(Settings{0, 1, 20, 1, 0});
    EXPECT_EQ(ReadProfileInt("APPSET", "StartPoint", 0, path), 6);
    EXPECT_EQ(LoadSettings().swatchCount, 20);
    EXPECT_FALSE(QFile::exists(m_program + QStringLiteral("/Tintavo.ini")));
}

TEST_F(GetIniPathTest, TestPathOverridesAndEmptyRestores)
{
    setDirWritableProbeForTesting([](const QString &) { return true; });
    setIniPathForTesting(m_dir.filePath(QStringLiteral("elsewhere.ini")));
    EXPECT_EQ(GetIniPath(), m_dir.filePath(QStringLiteral("elsewhere.ini")));
    setIniPathForTesting(QString());
    EXPECT_EQ(GetIniPath(), m_program + QStringLiteral("/Tintavo.ini"));
}

TEST(IsDirWritableTest, AnswersForFoldersThatCannotTakeFilesEvenAsRoot)
{
    QTemporaryDir dir;
    EXPECT_TRUE(IsDirWritable(dir.path()));
    EXPECT_FALSE(IsDirWritable(dir.filePath(QStringLiteral("missing"))));
    QFile file(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_FALSE(IsDirWritable(dir.filePath(QStringLiteral("plain/sub"))));
}

// The real probe and the real file operations, in a process that runs as an
// ordinary user: as root this test starts the helper as "nobody", since
// permission bits do not stop root. What it does not cover is a read-only
// mount, which needs privileges to set up.
struct RealUserCase
{
    const char *name;
    mode_t programMode;
    bool fileThere; // a Tintavo.ini anyone may write, beside the program
    bool besideProgram;
};

class RealUserTest : public ::testing::TestWithParam<RealUserCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Let the other user through the temporary folder and run the helper.
        ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
        m_helper = m_dir.filePath(QStringLiteral("settings_helper"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TINTAVO_SETTINGS_HELPER), m_helper));
        m_program = makeDir("program", 0755);
        m_config = makeDir("config", 0777);
    }

    QString makeDir(const char *name, mode_t mode) const
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        ::chmod(QFile::encodeName(path).constData(), mode);
        return path;
    }

    // The path the helper printed, or an empty string when it failed.
    QString runHelper() const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config);
        process.setProcessEnvironment(env);
        process.start(m_helper, {QStringLiteral("ini-path"), m_program});
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            ADD_FAILURE() << process.readAllStandardError().toStdString();
            return QString();
        }
        return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir m_dir;
    QString m_helper;
    QString m_program;
    QString m_config;
};

TEST_P(RealUserTest, SavesWhereTheUserCan)
{
    const QString ini = m_program + QStringLiteral("/Tintavo.ini");
    if (GetParam().fileThere) {
        ASSERT_TRUE(WriteProfileString("APPSET", "nColor", "12", ini));
        ::chmod(QFile::encodeName(ini).constData(), 0666);
    }
    ::chmod(QFile::encodeName(m_program).constData(), GetParam().programMode);
    const QString path = runHelper();
    EXPECT_TRUE(path.startsWith((GetParam().besideProgram ? m_program : m_config) + '/'))
        << path.toStdString();
    EXPECT_EQ(ReadProfileInt("APPSET", "StartPoint", 0, path), 4);
    EXPECT_EQ(ReadProfileInt("APPSET", "nColor", 0, path), GetParam().fileThere ? 12 : 0);
    EXPECT_EQ(QFile::exists(ini), GetParam().besideProgram);
}

INSTANTIATE_TEST_SUITE_P(Folders, RealUserTest,
                         ::testing::Values(RealUserCase{"ReadOnlyFolder", 0555, false, false},
                                           RealUserCase{"WritableFolder", 0777, false, true},
                                           RealUserCase{"ReadOnlyFolderWritableFile", 0555, true,
                                                        true}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tintavo
