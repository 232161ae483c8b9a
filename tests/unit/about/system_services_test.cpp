#include "about/system_services.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tintavo {
namespace {

SystemInfoRegistry::ExecutableFinder finderOf(QMap<QString, QString> installed,
                                              QStringList *asked = nullptr)
{
    return [installed, asked](const QString &name) {
        if (asked)
            *asked << name;
        return installed.value(name);
    };
}

TEST(SystemInfoRegistry, AnswersThePathOfTheFirstToolFound)
{
    QStringList asked;
    SystemInfoRegistry registry(
        {"hardinfo", "kinfocenter", "lxtask"},
        finderOf({{"kinfocenter", "/usr/bin/kinfocenter"}, {"lxtask", "/usr/bin/lxtask"}}, &asked));
    QString value;
    ASSERT_TRUE(
        GetKeyValue(registry, kHKeyLocalMachine, kSysInfoPathKey, kSysInfoPathValue, value));
    EXPECT_EQ(value, "/usr/bin/kinfocenter");
    EXPECT_EQ(asked, (QStringList{"hardinfo", "kinfocenter"}));
}

TEST(SystemInfoRegistry, KeyAndValueNamesIgnoreCase)
{
    SystemInfoRegistry registry({"lxtask"}, finderOf({{"lxtask", "/opt/lxtask"}}));
    QString value;
    EXPECT_TRUE(GetKeyValue(registry, kHKeyLocalMachine,
                            "software\\microsoft\\shared tools\\msinfo", "path", value));
    EXPECT_EQ(value, "/opt/lxtask");
}

TEST(SystemInfoRegistry, NoToolMeansNoKey)
{
    SystemInfoRegistry registry({"hardinfo"}, finderOf({}));
    Registry::Key key = 0;
    EXPECT_NE(registry.openKey(kHKeyLocalMachine, kSysInfoPathKey, kKeyOpenAccess, key),
              kRegSuccess);
}

TEST(SystemInfoRegistry, HoldsNothingElse)
{
    SystemInfoRegistry registry({"lxtask"}, finderOf({{"lxtask", "/opt/lxtask"}}));
    QString value = "old";
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, kSysInfoDirKey, kSysInfoDirValue, value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_FALSE(GetKeyValue(registry, 0x80000001u, kSysInfoPathKey, kSysInfoPathValue, value));
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, kSysInfoPathKey, "Other", value));
}

TEST(SystemInfoRegistry, ClosedKeyCannotBeRead)
{
    SystemInfoRegistry registry({"lxtask"}, finderOf({{"lxtask", "/opt/lxtask"}}));
    Registry::Key key = 0;
    ASSERT_EQ(registry.openKey(kHKeyLocalMachine, kSysInfoPathKey, kKeyOpenAccess, key),
              kRegSuccess);
    registry.closeKey(key);
    char buffer[64];
    quint32 type = 0;
    quint32 size = sizeof buffer;
    EXPECT_NE(registry.queryValue(key, kSysInfoPathValue, type, buffer, size), kRegSuccess);
}

TEST(SystemInfoRegistry, SmallBufferAsksForMore)
{
    SystemInfoRegistry registry({"lxtask"}, finderOf({{"lxtask", "/opt/lxtask"}}));
    Registry::Key key = 0;
    ASSERT_EQ(registry.openKey(kHKeyLocalMachine, kSysInfoPathKey, kKeyOpenAccess, key),
              kRegSuccess);
    char buffer[4];
    quint32 type = 0;
    quint32 size = sizeof buffer;
    EXPECT_EQ(registry.queryValue(key, kSysInfoPathValue, type, buffer, size), kRegMoreData);
    EXPECT_EQ(size, quint32(sizeof "/opt/lxtask"));
}

TEST(SystemInfoRegistry, DefaultFinderSearchesThePath)
{
    // "sh" stands in for a tool: it is on every system's search path.
    SystemInfoRegistry registry({"tintavo-no-such-tool", "sh"});
    QString value;
    ASSERT_TRUE(
        GetKeyValue(registry, kHKeyLocalMachine, kSysInfoPathKey, kSysInfoPathValue, value));
    EXPECT_TRUE(value.endsWith("/sh")) << value.toStdString();
}

TEST(OrdinaryFileExists, OnlyVisibleOrdinaryFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plain = dir.filePath("MSINFO32.EXE");
    const QString hidden = dir.filePath(".MSINFO32.EXE");
    for (const QString &path : {plain, hidden}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(ordinaryFileExists(plain));
    EXPECT_FALSE(ordinaryFileExists(hidden));
    EXPECT_FALSE(ordinaryFileExists(dir.path()));
    EXPECT_FALSE(ordinaryFileExists(dir.filePath("missing")));
    EXPECT_FALSE(ordinaryFileExists(QString()));
}

TEST(DetachedProcessLauncher, ReportsWhetherTheProgramStarted)
{
    DetachedProcessLauncher launcher;
    EXPECT_FALSE(launcher.startDetached("/nonexistent/tintavo-sysinfo"));
    EXPECT_TRUE(launcher.startDetached("/bin/true"));
}

} // namespace
} // namespace tintavo
