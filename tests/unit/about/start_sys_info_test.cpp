#include "about/sys_info.h"
#include "fake_about_services.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

using test::FakeNoticeService;
using test::FakeProcessLauncher;
using test::FakeRegistry;

class StartSysInfoTest : public ::testing::Test
{
protected:
    void run() { StartSysInfo(registry, fileCheck, launcher, notices); }

    void registerPath(FakeRegistry::Value value)
    {
        registry.setValue(kHKeyLocalMachine, kSysInfoPathKey, kSysInfoPathValue, value);
    }
    void registerDirectory(FakeRegistry::Value value)
    {
        registry.setValue(kHKeyLocalMachine, kSysInfoDirKey, kSysInfoDirValue, value);
    }

    FakeRegistry registry;
    FakeProcessLauncher launcher;
    FakeNoticeService notices;
    QStringList existingFiles;
    QStringList checkedFiles;
    FileCheck fileCheck = [this](const QString &path) {
        checkedFiles << path;
        return existingFiles.contains(path);
    };
};

TEST_F(StartSysInfoTest, RegisteredPathIsStartedAsItStands)
{
    registerPath(FakeRegistry::string("C:\\Program Files\\Info\\msinfo32.exe"));
    run();
    EXPECT_EQ(launcher.started, QStringList{"C:\\Program Files\\Info\\msinfo32.exe"});
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_TRUE(checkedFiles.isEmpty()) << "the full path is not checked beforehand";
}

TEST_F(StartSysInfoTest, MissingRegisteredFileGivesTheNoticeWithoutTryingTheDirectory)
{
    registerPath(FakeRegistry::string("/nowhere/info"));
    registerDirectory(FakeRegistry::string("C:\\Info"));
    existingFiles << "C:\\Info\\MSINFO32.EXE";
    launcher.succeed = false; // what starting a missing file comes to
    run();
    EXPECT_EQ(launcher.started, QStringList{"/nowhere/info"});
    EXPECT_EQ(notices.shown, QStringList{"此时系统信息不可用"});
    EXPECT_EQ(registry.openAttempts, QStringList{kSysInfoPathKey});
}

TEST_F(StartSysInfoTest, LauncherFailureGivesTheNotice)
{
    registerPath(FakeRegistry::string("/usr/bin/hardinfo"));
    launcher.succeed = false;
    run();
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

TEST_F(StartSysInfoTest, DirectoryWithTheToolStartsIt)
{
    registerDirectory(FakeRegistry::string("C:\\Info"));
    existingFiles << "C:\\Info\\MSINFO32.EXE";
    run();
    EXPECT_EQ(registry.openAttempts, (QStringList{kSysInfoPathKey, kSysInfoDirKey}));
    EXPECT_EQ(checkedFiles, QStringList{"C:\\Info\\MSINFO32.EXE"});
    EXPECT_EQ(launcher.started, QStringList{"C:\\Info\\MSINFO32.EXE"});
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST_F(StartSysInfoTest, DirectoryWithoutTheToolGivesTheNoticeAndStartsNothing)
{
    registerDirectory(FakeRegistry::string("C:\\Info"));
    run();
    EXPECT_EQ(checkedFiles, QStringList{"C:\\Info\\MSINFO32.EXE"});
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

TEST_F(StartSysInfoTest, PathKeyWithoutTheValueFallsBackToTheDirectory)
{
    registry.addKey(kHKeyLocalMachine, kSysInfoPathKey);
    registerDirectory(FakeRegistry::string("D:\\Tools"));
    existingFiles << "D:\\Tools\\MSINFO32.EXE";
    run();
    EXPECT_EQ(launcher.started, QStringList{"D:\\Tools\\MSINFO32.EXE"});
}

TEST_F(StartSysInfoTest, NothingRegisteredGivesTheNotice)
{
    run();
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_TRUE(checkedFiles.isEmpty());
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

TEST_F(StartSysInfoTest, OtherValueTypesCountAsFoundButEmpty)
{
    // Found with the text left empty: the empty path cannot be started, and
    // the directory rule is not reached.
    registerPath({3, "\x01\x02"});
    registerDirectory(FakeRegistry::string("C:\\Info"));
    existingFiles << "C:\\Info\\MSINFO32.EXE";
    run();
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_EQ(registry.openAttempts, QStringList{kSysInfoPathKey});
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

TEST_F(StartSysInfoTest, OtherTypeInTheDirectoryValueChecksTheBareFileName)
{
    registerDirectory({3, "\x01"});
    run();
    EXPECT_EQ(checkedFiles, QStringList{"\\MSINFO32.EXE"});
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

TEST_F(StartSysInfoTest, DwordPathIsTriedAsText)
{
    registerPath(FakeRegistry::dword(300));
    launcher.succeed = false;
    run();
    EXPECT_EQ(launcher.started, QStringList{"&h00012C"});
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

TEST_F(StartSysInfoTest, PathWithEmbeddedNulIsRefused)
{
    registerPath({kRegSz, QByteArray("/usr/bin/true\0evil", 18)});
    run();
    EXPECT_TRUE(launcher.started.isEmpty());
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

TEST_F(StartSysInfoTest, OverlongPathCountsAsMissing)
{
    registerPath(FakeRegistry::string(QByteArray(2000, 'a')));
    run();
    EXPECT_EQ(registry.openAttempts, (QStringList{kSysInfoPathKey, kSysInfoDirKey}));
    EXPECT_EQ(notices.shown, QStringList{kSysInfoUnavailable});
}

} // namespace
} // namespace tintavo
