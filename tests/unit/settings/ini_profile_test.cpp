// The settings file's text as the profile reader and writer treat it, and the
// writes that reach the disk.
#include "settings/ini_file.h"
#include "settings_file_test.h"

#include <QProcess>

#include <limits>

namespace tintavo {
namespace {

using test::SettingsFileTest;

constexpr qint32 kMin = std::numeric_limits<qint32>::min();

// Value texts a hand-edited file may hold (more in ini_settings_test), and where
// the reader finds [APPSET] nColor: the default, 64, where it does not.
TEST(IniProfile, ReadsLikeTheProfileReader)
{
    const std::pair<const char *, qint32> values[] = {
        {"+7", 7},          {"--5", 0},           {"+-5", 0},           {"-", 0},     {"- 5", 0},
        {"1 2", 1},         {"\t42", 42},         {"12abc", 12},        {"12.9", 12}, {"007", 7},
        {"4294967295", -1}, {"2147483648", kMin}, {"-2147483648", kMin}};
    for (const auto &[text, value] : values)
        EXPECT_EQ(parseIniInt(text), value) << text;
    // clang-format off
    const std::pair<const char *, qint32> files[] = {
        {"", 64}, {"[APPSET]\r\nnColor=\r\n", 64}, {"[APPSET]\r\nnColor=  \t\r\n", 64},
        {"[APPSET]\r\nnColor\r\n", 64}, {"[APPSET]\r\n;nColor=17\r\n", 64},
        {"nColor=18\r\n[APPSET]\r\n", 64}, {"[APPSET]\r\n[COLOR]\r\nnColor=22\r\n", 64},
        {"[APPSET]\r\n[COLOR\r\nnColor=23\r\n", 64}, {"[APPSET]\r\nnColor=abc\r\n", 0},
        {"[APPSET]\r\nnColor==5\r\n", 0}, {"  [ APPSET ]  \r\n  nColor  =  9  \r\n", 9},
        {"[APPSET]\nnColor=12\n", 12}, {"[APPSET]\r\nnColor=13", 13},
        {"[APPSET] ; settings\r\nnColor=16\r\n", 16},
        {"[APPSET]\r\nAutoSave=1\r\n[COLOR]\r\n[AppSet]\r\nnColor=21\r\n", 21}};
    // clang-format on
    for (const auto &[file, value] : files)
        EXPECT_EQ(IniProfile::fromBytes(file).readInt("APPSET", "nColor", 64), value) << file;
}

// One write: the text before, section, key and value, the text after. Only
// what the write names changes; names and values that could not be read back
// as written are refused whole.
TEST(IniProfile, WritesChangeOnlyWhatTheyName)
{
    const char *const rows[][5] = {
        {"", "COLOR", "Color0", "255", "[COLOR]\r\nColor0=255\r\n"},
        {"[APPSET]\r\nAutoSave=1\r\n\r\n\r\n[COLOR]\r\n", "APPSET", "nColor", "5",
         "[APPSET]\r\nAutoSave=1\r\nnColor=5\r\n\r\n\r\n[COLOR]\r\n"},
        {"[A]\r\nx=1\r\n; end of A\r\n", "A", "y", "2", "[A]\r\nx=1\r\n; end of A\r\ny=2\r\n"},
        {"[A]\n  Key  =  old  \n", "A", "KEY", "new", "[A]\n  Key  =  new\n"},
        {"[A]\nx=1\ny=2\n", "A", "x", "7", "[A]\nx=7\ny=2\n"},
        {"[A]\r\nx=1", "A", "x", "2", "[A]\r\nx=2"},
        {"[A]\r\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
        {"junk", "B", "y", "2", "junk\r\n[B]\r\ny=2\r\n"},
        {"[A]\r\nx=1\r\n[B]\r\n[a]\r\nz=1\r\n", "A", "y", "2",
         "[A]\r\nx=1\r\ny=2\r\n[B]\r\n[a]\r\nz=1\r\n"},
        {"[A]\r\nx=1\r\n[a]\r\nz=1\r\n", "A", "z", "9", "[A]\r\nx=1\r\n[a]\r\nz=9\r\n"},
        {"[A\r\nx=1\r\n", "A", "x", "2", "[A\r\nx=1\r\n[A]\r\nx=2\r\n"},
        {"x=1\r\n", "A", "x", "2", "x=1\r\n[A]\r\nx=2\r\n"},
        {"[A]\r\n;x=1\r\n", "A", "x", "2", "[A]\r\n;x=1\r\nx=2\r\n"},
        {"[A]\r\nx=5\r\n[B", "B", "y", "1", "[A]\r\nx=5\r\n[B\r\n[B]\r\ny=1\r\n"}};
    for (const auto &[before, section, key, value, after] : rows) {
        IniProfile profile = IniProfile::fromBytes(before);
        ASSERT_TRUE(profile.writeString(section, key, value)) << before;
        EXPECT_EQ(profile.toBytes(), after) << before;
        EXPECT_EQ(profile.readString(section, key).value_or("<absent>"), value) << before;
    }
    const QByteArray before = "[A]\r\nx=1\r\n";
    const QByteArray refused[][3] = {{"A", "", "1"},         {"A", "a=b", "1"},  {"A", "[k", "1"},
                                     {"A", ";k", "1"},       {"A", "k\nz", "1"}, {"A", " k", "1"},
                                     {"A]", "x", "1"},       {"A\r", "x", "1"},  {"A ", "x", "1"},
                                     {"A", "x", "1\r\n[B]"}, {"A", "x", "1 "}};
    for (const auto &[section, key, value] : refused) {
        IniProfile profile = IniProfile::fromBytes(before);
        EXPECT_FALSE(profile.writeString(section, key, value)) << section.data() << key.data();
        EXPECT_EQ(profile.toBytes(), before);
    }
}

// Runs a shell command with $1 the settings file's path and $2 its folder.
QByteArray shell(const char *command, const QString &path, const QString &dir)
{
    QProcess sh;
    sh.start(QStringLiteral("sh"), {"-c", command, "sh", path, dir});
    return sh.waitForFinished() ? sh.readAll() : QByteArray();
}

// Places a save must not write through, whoever runs it: each is left as it was
// (link and target) and the failure names the file and says why.
TEST(ProfileFile, RefusedTargetsStayAsTheyWereAndTheFailureSaysWhy)
{
    const char *const rows[][2] = {
        {"mkfifo \"$1\"", "不是普通文件"},
        {"echo [APPSET] >\"$1\"; truncate -s 100M \"$1\"", "无法读取"},
        {"ln -s \"$2/nowhere\" \"$1\"", "不存在"},
        // Root may write anything; a file its owner made read-only stays so.
        {"echo [A] >\"$1\"; chmod 444 \"$1\"", "只读"},
        // Another user's link to a file that is neither theirs nor in their folder.
        {"echo s=1 >\"$2/sys.conf\"; ln -s \"$2/sys.conf\" \"$1\"; chown -h nobody \"$1\"",
         "符号链接"}};
    const char *footprint = "stat -c '%F %s %a %i %y %u' \"$1\" \"$(readlink -f \"$1\")\" 2>&1";
    for (const auto &[make, reason] : rows) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Tintavo.ini"));
        shell(make, path, dir.path());
        const QByteArray before = shell(footprint, path, dir.path());
        EXPECT_EQ(readIniInt("APPSET", "nColor", 64, path), 64) << make;
        const SaveResult result = writeIniString("APPSET", "nColor", "6", path);
        EXPECT_FALSE(result) << make;
        EXPECT_TRUE(result.message().contains(reason)) << result.message().toStdString();
        EXPECT_TRUE(result.message().contains(path) || result.message().contains(dir.path()));
        EXPECT_EQ(shell(footprint, path, dir.path()), before) << make;
    }
}

TEST_F(SettingsFileTest, OwnLinkIsFollowed)
{
    shell("printf '[A]\\r\\n' >\"$2/real.ini\"; ln -s \"$2/real.ini\" \"$1\"", path(),
          m_dir.path());
    EXPECT_TRUE(writeIniString("A", "x", "1", path()));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readFile(), "[A]\r\nx=1\r\n");
}

} // namespace
} // namespace tintavo
