#include "settings/ini_profile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <sys/stat.h>

namespace tintavo {
namespace {

QByteArray bytesOf(const char *text)
{
    return QByteArray(text);
}

// ---- Integer values ---------------------------------------------------------

struct IntCase
{
    const char *name;
    const char *text;
    qint32 expected;
};

class ParseProfileIntTest : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(ParseProfileIntTest, ReadsLikeTheProfileReader)
{
    EXPECT_EQ(parseProfileInt(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseProfileIntTest,
    ::testing::Values(IntCase{"Zero", "0", 0}, IntCase{"Plain", "1018317", 1018317},
                      IntCase{"Letters", "abc", 0}, IntCase{"SurroundingBlanks", " 12 ", 12},
                      IntCase{"LeadingTab", "\t42", 42}, IntCase{"HexPrefix", "0x10", 0},
                      IntCase{"TrailingLetters", "12abc", 12},
                      IntCase{"WrapsAt32Bits", "99999999999", 1215752191},
                      IntCase{"Negative", "-5", -5}, IntCase{"PlusSign", "+7", 7},
                      IntCase{"TwoSigns", "--5", 0}, IntCase{"MixedSigns", "+-5", 0},
                      IntCase{"SignAlone", "-", 0}, IntCase{"BlankBetweenSignAndDigits", "- 5", 0},
                      IntCase{"StopsAtInnerBlank", "1 2", 1},
                      IntCase{"AllBitsIsMinusOne", "4294967295", -1},
                      IntCase{"JustPastMax", "2147483648", std::numeric_limits<qint32>::min()},
                      IntCase{"Min", "-2147483648", std::numeric_limits<qint32>::min()},
                      IntCase{"LeadingZeros", "007", 7}, IntCase{"Decimal", "12.9", 12}),
    [](const auto &info) { return std::string(info.param.name); });

struct ReadIntCase
{
    const char *name;
    const char *file;
    qint32 expected;
};

class ReadIntTest : public ::testing::TestWithParam<ReadIntCase>
{
};

TEST_P(ReadIntTest, GivesTheDefaultOnlyForMissingOrEmptyValues)
{
    const IniProfile profile = IniProfile::fromBytes(GetParam().file);
    EXPECT_EQ(profile.readInt("APPSET", "nColor", 64), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadIntTest,
    ::testing::Values(
        ReadIntCase{"EmptyFile", "", 64}, ReadIntCase{"NoSection", "[COLOR]\r\nnColor=5\r\n", 64},
        ReadIntCase{"NoKey", "[APPSET]\r\nAutoSave=0\r\n", 64},
        ReadIntCase{"EmptyValue", "[APPSET]\r\nnColor=\r\n", 64},
        ReadIntCase{"BlankValue", "[APPSET]\r\nnColor=  \t\r\n", 64},
        ReadIntCase{"KeyWithoutEquals", "[APPSET]\r\nnColor\r\n", 64},
        ReadIntCase{"LettersReadAsZero", "[APPSET]\r\nnColor=abc\r\n", 0},
        ReadIntCase{"StoredZero", "[APPSET]\r\nnColor=0\r\n", 0},
        ReadIntCase{"Negative", "[APPSET]\r\nnColor=-3\r\n", -3},
        ReadIntCase{"BlanksAroundEverything", "  [ APPSET ]  \r\n  nColor  =  9  \r\n", 9},
        ReadIntCase{"LineFeedOnly", "[APPSET]\nnColor=12\n", 12},
        ReadIntCase{"NoFinalLineEnd", "[APPSET]\r\nnColor=13", 13},
        ReadIntCase{"CaseBlindSection", "[appset]\r\nnColor=14\r\n", 14},
        ReadIntCase{"CaseBlindKey", "[APPSET]\r\nNCOLOR=15\r\n", 15},
        ReadIntCase{"TextAfterHeader", "[APPSET] ; settings\r\nnColor=16\r\n", 16},
        ReadIntCase{"CommentedOut", "[APPSET]\r\n;nColor=17\r\n", 64},
        ReadIntCase{"BeforeAnyHeader", "nColor=18\r\n[APPSET]\r\n", 64},
        ReadIntCase{"FirstOfTwoKeysWins", "[APPSET]\r\nnColor=19\r\nnColor=20\r\n", 19},
        ReadIntCase{"SecondSectionOfSameName",
                    "[APPSET]\r\nAutoSave=1\r\n[COLOR]\r\n[AppSet]\r\nnColor=21\r\n", 21},
        ReadIntCase{"OtherSectionBetween", "[APPSET]\r\n[COLOR]\r\nnColor=22\r\n", 64},
        ReadIntCase{"HeaderWithoutBracketHidesItsKeys", "[APPSET]\r\n[COLOR\r\nnColor=23\r\n", 64},
        ReadIntCase{"ValueWithEquals", "[APPSET]\r\nnColor==5\r\n", 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(IniProfileTest, ReadStringTrimsBlanksAroundTheValue)
{
    const IniProfile profile = IniProfile::fromBytes("[S]\r\nk =  a b \t\r\n");
    ASSERT_TRUE(profile.readString("s", "K").has_value());
    EXPECT_EQ(*profile.readString("s", "K"), "a b");
    EXPECT_FALSE(profile.readString("s", "missing").has_value());
}

// ---- Writing ------------------------------------------------------------------

TEST(IniProfileTest, UntouchedTextSurvivesByteForByte)
{
    const char *const files[] = {
        "",
        "\r\n\r\n",
        "[APPSET]\r\nAutoSave=1\r\n",
        "; comment\n[A]\nx = 1\n\n\n[B]\r\ny=2",
        "no header at all\r\nkey=value",
        "[broken\r\nk=v\r\n[ok]\r\n",
        "\xff\xfe[\x01]\r\r\r\n=\n==\n;[x]\n   \t",
        "[A]\r\n\rk=\r\r\n",
    };
    for (const char *file : files) {
        EXPECT_EQ(IniProfile::fromBytes(file).toBytes(), bytesOf(file)) << file;
    }
    const QByteArray withNul("[A]\r\nx=2\0"
                             "5\r\n",
                             13);
    EXPECT_EQ(IniProfile::fromBytes(withNul).toBytes(), withNul);
}

struct WriteCase
{
    const char *name;
    const char *before;
    const char *section;
    const char *key;
    const char *value;
    const char *after;
};

class WriteStringTest : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(WriteStringTest, ChangesOnlyWhatTheWriteNames)
{
    const WriteCase &c = GetParam();
    IniProfile profile = IniProfile::fromBytes(c.before);
    ASSERT_TRUE(profile.writeString(c.section, c.key, c.value));
    EXPECT_EQ(profile.toBytes(), bytesOf(c.after));
    EXPECT_EQ(profile.readString(c.section, c.key).value_or("<absent>"), bytesOf(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteStringTest,
    ::testing::Values(
        WriteCase{"NewFile", "", "COLOR", "Color0", "255", "[COLOR]\r\nColor0=255\r\n"},
        WriteCase{"NewSectionKeepsSpelling", "[COLOR]\r\nColor0=255\r\n", "AppSet", "StartPoint",
                  "3", "[COLOR]\r\nColor0=255\r\n[AppSet]\r\nStartPoint=3\r\n"},
        WriteCase{"NewKeyIsLastLineOfItsSection",
                  "[APPSET]\r\nAutoSave=1\r\n[COLOR]\r\nColor0=1\r\n", "AppSet", "StartPoint", "3",
                  "[APPSET]\r\nAutoSave=1\r\nStartPoint=3\r\n[COLOR]\r\nColor0=1\r\n"},
        WriteCase{"NewKeyStaysAboveSeparatingBlankLines",
                  "[APPSET]\r\nAutoSave=1\r\n\r\n\r\n[COLOR]\r\n", "APPSET", "nColor", "5",
                  "[APPSET]\r\nAutoSave=1\r\nnColor=5\r\n\r\n\r\n[COLOR]\r\n"},
        WriteCase{"NewKeyUnderEmptySection", "[APPSET]\r\n\r\n[X]\r\n", "appset", "k", "v",
                  "[APPSET]\r\nk=v\r\n\r\n[X]\r\n"},
        WriteCase{"NewKeyGoesBelowTrailingComment", "[A]\r\nx=1\r\n; end of A\r\n", "A", "y", "2",
                  "[A]\r\nx=1\r\n; end of A\r\ny=2\r\n"},
        WriteCase{"ReplacesWhereItStands", "[A]\r\nx=1\r\ny=2\r\nz=3\r\n", "a", "Y", "20",
                  "[A]\r\nx=1\r\ny=20\r\nz=3\r\n"},
        WriteCase{"ReplaceKeepsKeySpellingAndBlanks", "[A]\n  Key  =  old  \n", "A", "KEY", "new",
                  "[A]\n  Key  =  new\n"},
        WriteCase{"ReplaceKeepsLineFeedEnding", "[A]\nx=1\ny=2\n", "A", "x", "7",
                  "[A]\nx=7\ny=2\n"},
        WriteCase{"ReplaceOnUnterminatedLastLine", "[A]\r\nx=1", "A", "x", "2", "[A]\r\nx=2"},
        WriteCase{"ReplaceEmptyValue", "[A]\r\nx=\r\n", "A", "x", "5", "[A]\r\nx=5\r\n"},
        WriteCase{"AppendAfterUnterminatedLastLine", "[A]\r\nx=1", "A", "y", "2",
                  "[A]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"NewSectionAfterUnterminatedLastLine", "junk", "B", "y", "2",
                  "junk\r\n[B]\r\ny=2\r\n"},
        WriteCase{"FirstOfDuplicateSectionsGetsNewKey", "[A]\r\nx=1\r\n[B]\r\n[a]\r\nz=1\r\n", "A",
                  "y", "2", "[A]\r\nx=1\r\ny=2\r\n[B]\r\n[a]\r\nz=1\r\n"},
        WriteCase{"KeyInSecondDuplicateSectionReplaced", "[A]\r\nx=1\r\n[a]\r\nz=1\r\n", "A", "z",
                  "9", "[A]\r\nx=1\r\n[a]\r\nz=9\r\n"},
        WriteCase{"BrokenHeaderIsNotTheSection", "[A\r\nx=1\r\n", "A", "x", "2",
                  "[A\r\nx=1\r\n[A]\r\nx=2\r\n"},
        WriteCase{"KeysBeforeFirstHeaderUntouched", "x=1\r\n", "A", "x", "2",
                  "x=1\r\n[A]\r\nx=2\r\n"},
        WriteCase{"CommentedKeyNotReplaced", "[A]\r\n;x=1\r\n", "A", "x", "2",
                  "[A]\r\n;x=1\r\nx=2\r\n"},
        WriteCase{"HeaderWithoutBracketOnLastLine", "[A]\r\nx=5\r\n[B", "B", "y", "1",
                  "[A]\r\nx=5\r\n[B\r\n[B]\r\ny=1\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

struct RefusedCase
{
    const char *name;
    QByteArray section;
    QByteArray key;
    QByteArray value;
};

class RefusedWriteTest : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedWriteTest, WhatCouldNotBeReadBackIsNotWritten)
{
    const QByteArray before = "[A]\r\nx=1\r\n";
    IniProfile profile = IniProfile::fromBytes(before);
    EXPECT_FALSE(profile.writeString(GetParam().section, GetParam().key, GetParam().value));
    EXPECT_EQ(profile.toBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Names, RefusedWriteTest,
                         ::testing::Values(RefusedCase{"EmptyKey", "A", "", "1"},
                                           RefusedCase{"KeyWithEquals", "A", "a=b", "1"},
                                           RefusedCase{"KeyStartingAsHeader", "A", "[k", "1"},
                                           RefusedCase{"KeyStartingAsComment", "A", ";k", "1"},
                                           RefusedCase{"KeyWithLineBreak", "A", "k\nz", "1"},
                                           RefusedCase{"KeyWithOuterBlank", "A", " k", "1"},
                                           RefusedCase{"SectionWithBracket", "A]", "x", "1"},
                                           RefusedCase{"SectionWithLineBreak", "A\r", "x", "1"},
                                           RefusedCase{"SectionWithOuterBlank", "A ", "x", "1"},
                                           RefusedCase{"ValueWithLineBreak", "A", "x", "1\r\n[B]"},
                                           RefusedCase{"ValueWithOuterBlank", "A", "x", "1 "}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(IniProfileTest, ManyNewKeysKeepTheirOrder)
{
    IniProfile profile = IniProfile::fromBytes("[COLOR]\r\n\r\n[Tail]\r\nt=1\r\n");
    QByteArray expected = "[COLOR]\r\n";
    for (int i = 0; i < 1000; ++i) {
        const QByteArray key = "Color" + QByteArray::number(i);
        ASSERT_TRUE(profile.writeString("COLOR", key, QByteArray::number(i * 3)));
        expected += key + '=' + QByteArray::number(i * 3) + "\r\n";
    }
    expected += "\r\n[Tail]\r\nt=1\r\n";
    EXPECT_EQ(profile.toBytes(), expected);
    EXPECT_EQ(profile.readInt("color", "COLOR999", -1), 2997);
}

// ---- Corrupt text -------------------------------------------------------------

TEST(IniProfileTest, RandomBytesNeverBreakReadingOrWriting)
{
    QRandomGenerator random(20261206);
    for (int round = 0; round < 200; ++round) {
        QByteArray junk(qsizetype(random.bounded(4096)), '\0');
        for (char &c : junk)
            c = char(random.bounded(256));
        if (round % 2 == 0) {
            // Lots of structure characters make headers and keys more likely.
            for (char &c : junk) {
                if (random.bounded(4) == 0)
                    c = "[]=\r\n;"[random.bounded(6)];
            }
        }
        IniProfile profile = IniProfile::fromBytes(junk);
        ASSERT_EQ(profile.toBytes(), junk);
        profile.readInt("APPSET", "nColor", 64);
        ASSERT_TRUE(profile.writeString("APPSET", "nColor", "77"));
        EXPECT_EQ(profile.readInt("APPSET", "nColor", 64), 77);
        EXPECT_EQ(IniProfile::fromBytes(profile.toBytes()).readInt("APPSET", "nColor", 64), 77);
    }
}

// ---- Files --------------------------------------------------------------------

class ProfileFileTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Tintavo.ini")); }

    void writeFile(const QByteArray &bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
};

TEST_F(ProfileFileTest, WriteCreatesTheFileAndItsFolder)
{
    const QString nested = m_dir.filePath(QStringLiteral("a/b/Tintavo.ini"));
    EXPECT_TRUE(WriteProfileString("APPSET", "nColor", "9", nested));
    EXPECT_EQ(ReadProfileInt("appset", "NCOLOR", 64, nested), 9);
    EXPECT_FALSE(QFile::exists(nested + QStringLiteral(".lock")));
}

TEST_F(ProfileFileTest, ManyEntriesGoInOneWrite)
{
    writeFile("; mine\r\n[COLOR]\r\nColor1=5\r\n");
    const IniEntry entries[] = {{"COLOR", "Color0", "1"},
                                {"COLOR", "Color1", "2"},
                                {"bad]", "x", "y"},
                                {"COLOR", "Color2", "3"}};
    EXPECT_TRUE(WriteProfileStrings(path(), entries));
    EXPECT_EQ(readFile(), "; mine\r\n[COLOR]\r\nColor1=2\r\nColor0=1\r\nColor2=3\r\n");
}

TEST_F(ProfileFileTest, OnlyRefusedEntriesWriteNothing)
{
    const IniEntry entries[] = {{"bad]", "x", "y"}};
    EXPECT_FALSE(WriteProfileStrings(path(), entries));
    EXPECT_FALSE(QFile::exists(path()));
}

struct LeftoverCase
{
    const char *name;
    bool emptyLock;
    bool breakerFile;
};

class LeftoverLockTest : public ProfileFileTest, public ::testing::WithParamInterface<LeftoverCase>
{
};

// What a copy killed in the middle of taking or breaking the lock leaves
// behind must not stop later saves.
TEST_P(LeftoverLockTest, OldLeftoversDoNotBlockASave)
{
    const auto leave = [&](const QString &name, const QByteArray &content, int ageSeconds) {
        const QDateTime old = QDateTime::currentDateTime().addSecs(-ageSeconds);
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.flush(); // or closing would write it, and make the file new again
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    };
    // A process id far above any the system hands out is a dead one.
    const QByteArray deadOwner = "999999999\nghost\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    leave(path() + ".lock", GetParam().emptyLock ? QByteArray() : deadOwner, 60);
    // Younger than the half minute after which Qt itself gives up on such a file.
    if (GetParam().breakerFile)
        leave(path() + ".lock.rmlock", QByteArray(), 10);
    EXPECT_TRUE(WriteProfileString("APPSET", "StartPoint", "5", path()));
    EXPECT_EQ(ReadProfileInt("APPSET", "StartPoint", 0, path()), 5);
}

INSTANTIATE_TEST_SUITE_P(Leftovers, LeftoverLockTest,
                         ::testing::Values(LeftoverCase{"EmptyLock", true, false},
                                           LeftoverCase{"DeadOwner", false, false},
                                           LeftoverCase{"EmptyLockAndBreaker", true, true},
                                           LeftoverCase{"DeadOwnerAndBreaker", false, true}),
                         [](const auto &info) { return std::string(info.param.name); });

// Runs a shell command with $1 the settings file's path and $2 its folder.
QByteArray shell(const char *command, const QString &path, const QString &dir)
{
    QProcess sh;
    sh.start(QStringLiteral("sh"), {"-c", command, "sh", path, dir});
    sh.waitForFinished();
    return sh.readAll();
}

// Places a save must not write through, whoever runs it: each is left exactly
// as it was (link and target) and the failure names the file and says why.
struct RefusedTargetCase
{
    const char *name;
    const char *make;
    const char *reason;
};

class RefusedTargetTest : public ProfileFileTest,
                          public ::testing::WithParamInterface<RefusedTargetCase>
{
};

TEST_P(RefusedTargetTest, IsLeftAsItWasAndTheFailureSaysWhy)
{
    const char *footprint = "stat -c '%F %s %a %i %y %u' \"$1\" \"$(readlink -f \"$1\")\" 2>&1";
    shell(GetParam().make, path(), m_dir.path());
    const QByteArray before = shell(footprint, path(), m_dir.path());
    EXPECT_EQ(ReadProfileInt("APPSET", "nColor", 64, path()), 64);
    const SaveResult result = WriteProfileString("APPSET", "nColor", "6", path());
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.message().contains(GetParam().reason)) << result.message().toStdString();
    EXPECT_TRUE(result.message().contains(path()) || result.message().contains(m_dir.path()));
    EXPECT_EQ(shell(footprint, path(), m_dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, RefusedTargetTest,
    ::testing::Values(
        RefusedTargetCase{"Folder", "mkdir \"$1\"", "文件夹"},
        RefusedTargetCase{"Pipe", "mkfifo \"$1\"", "不是普通文件"},
        RefusedTargetCase{"HugeFile", "echo [APPSET] >\"$1\"; truncate -s 100M \"$1\"", "无法读取"},
        RefusedTargetCase{"DanglingLink", "ln -s \"$2/nowhere\" \"$1\"", "不存在"},
        // Root may write anything; a file its owner made read-only stays so.
        RefusedTargetCase{"ReadOnlyFile", "echo [A] >\"$1\"; chmod 444 \"$1\"", "只读"},
        // Another user's link to a file that is neither theirs nor in their folder.
        RefusedTargetCase{"ForeignLink",
                          "echo s=1 >\"$2/sys.conf\"; ln -s \"$2/sys.conf\" \"$1\"; "
                          "chown -h nobody \"$1\"",
                          "符号链接"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ProfileFileTest, OwnLinkIsFollowed)
{
    shell("printf '[A]\\r\\n' >\"$2/real.ini\"; ln -s \"$2/real.ini\" \"$1\"", path(),
          m_dir.path());
    EXPECT_TRUE(WriteProfileString("A", "x", "1", path()));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(readFile(), "[A]\r\nx=1\r\n");
}

TEST_F(ProfileFileTest, NoChangeLeavesTheFileAsItWas)
{
    writeFile("[A]\nx = 1\n");
    struct stat before
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &before), 0);
    EXPECT_TRUE(WriteProfileString("a", "X", "1", path()));
    EXPECT_EQ(readFile(), "[A]\nx = 1\n");
    // A replaced file would be a new inode.
    struct stat after
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

} // namespace
} // namespace tintavo
