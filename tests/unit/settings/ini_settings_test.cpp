#include "settings/ini_settings.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace tintavo {
namespace {

constexpr ColorValue kRed = RGB(255, 0, 0);
constexpr ColorValue kGreen = RGB(0, 255, 0);
constexpr ColorValue kBlue = RGB(0, 0, 255);

// 64 white swatches with the given colours at the front.
std::vector<ColorValue> box(std::initializer_list<ColorValue> front, size_t size = 64)
{
    std::vector<ColorValue> colors(size, kWhite);
    std::copy(front.begin(), front.end(), colors.begin());
    return colors;
}

// Every test gets a settings file of its own in a fresh folder.
class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setIniPathForTesting(path());
    }

    void TearDown() override { setIniPathForTesting(QString()); }

    QString path() const { return m_dir.filePath(QStringLiteral("Tintavo.ini")); }

    void writeFile(const QByteArray &bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsFileTest, NoFileGivesTheDefaults)
{
    const Settings s = LoadSettings();
    EXPECT_EQ(s.autoSave, 1);
    EXPECT_EQ(s.autoLoad, 1);
    EXPECT_EQ(s.swatchCount, 64);
    EXPECT_EQ(s.rememberStartSlot, 1);
    EXPECT_EQ(s.startSlot, 0);
    EXPECT_EQ(LoadStoredColors(1)[0], kWhite);
    EXPECT_EQ(LoadStoredColors(64), std::vector<ColorValue>(64, kWhite));
    EXPECT_FALSE(QFile::exists(path()));
}

class HeaderSpellingTest : public SettingsFileTest,
                           public ::testing::WithParamInterface<const char *>
{
};

TEST_P(HeaderSpellingTest, AnyLetterCaseSuppliesAllFiveKeys)
{
    writeFile(QByteArray("[") + GetParam() +
              "]\r\nAutoSave=0\r\nautoload=0\r\nNCOLOR=12\r\nAutoRember=0\r\nStartPoint=7\r\n");
    const Settings s = LoadSettings();
    EXPECT_EQ(s.autoSave, 0);
    EXPECT_EQ(s.autoLoad, 0);
    EXPECT_EQ(s.swatchCount, 12);
    EXPECT_EQ(s.rememberStartSlot, 0);
    EXPECT_EQ(s.startSlot, 7);
}

INSTANTIATE_TEST_SUITE_P(Spellings, HeaderSpellingTest,
                         ::testing::Values("AppSet", "APPSET", "appset", "aPpSeT"));

// What a sequence of saves leaves in the file, starting without one.
struct SaveSequence
{
    const char *name;
    void (*saves)();
    const char *file;
};

class SaveSequenceTest : public SettingsFileTest, public ::testing::WithParamInterface<SaveSequence>
{
};

TEST_P(SaveSequenceTest, LeavesExactlyTheseBytes)
{
    GetParam().saves();
    EXPECT_EQ(readFile(), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, SaveSequenceTest,
    ::testing::Values(
        SaveSequence{"WorkedExampleFirstExit",
                     [] {
                         SaveStoredColors(box({kRed, kGreen, kBlue}));
                         SaveStartPoint(3);
                     },
                     "[COLOR]\r\nColor0=255\r\nColor1=65280\r\nColor2=16711680\r\n"
                     "[AppSet]\r\nStartPoint=3\r\n"},
        SaveSequence{"SettingsAfterFirstExitJoinAppSet",
                     [] {
                         SaveStoredColors(box({kRed}));
                         SaveStartPoint(1);
                         SaveSettings(Settings{1, 0, 30, 1, 99});
                     },
                     "[COLOR]\r\nColor0=255\r\n[AppSet]\r\nStartPoint=1\r\n"
                     "AutoSave=1\r\nAutoLoad=0\r\nnColor=30\r\nAutoRember=1\r\n"},
        SaveSequence{"SettingsBeforeAnyExit",
                     [] {
                         SaveSettings(Settings{0, 1, -5, 0, 42});
                         SaveStoredColors(box({RGB(205, 137, 15)}));
                         SaveStartPoint(2);
                     },
                     "[APPSET]\r\nAutoSave=0\r\nAutoLoad=1\r\nnColor=-5\r\nAutoRember=0\r\n"
                     "StartPoint=2\r\n[COLOR]\r\nColor0=1018317\r\n"},
        SaveSequence{"SettingsAgainReplaceInPlace",
                     [] {
                         SaveSettings(Settings{1, 1, 64, 1, 0});
                         SaveSettings(Settings{0, 0, 65, 0, 0});
                     },
                     "[APPSET]\r\nAutoSave=0\r\nAutoLoad=0\r\nnColor=65\r\nAutoRember=0\r\n"},
        SaveSequence{"WhiteSwatchLeavesItsOldLine",
                     [] {
                         SaveStoredColors(box({kRed, kGreen, kBlue}));
                         SaveStoredColors(box({kBlue, kWhite, kRed}));
                     },
                     "[COLOR]\r\nColor0=16711680\r\nColor1=65280\r\nColor2=255\r\n"},
        SaveSequence{"AllWhiteWritesNoFile", [] { SaveStoredColors(box({})); }, "<missing>"},
        SaveSequence{"ZeroIsStored", [] { SaveStoredColors(box({0})); },
                     "[COLOR]\r\nColor0=0\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, ColoursBeyondALoweredCountStayForLater)
{
    std::vector<ColorValue> colors(10);
    for (size_t i = 0; i < colors.size(); ++i)
        colors[i] = ColorValue(i + 1);
    SaveStoredColors(colors);
    // A later run with 4 swatches, all white but one.
    SaveStoredColors(box({kRed}, 4));
    const std::vector<ColorValue> back = LoadStoredColors(10);
    EXPECT_EQ(back[0], kRed);
    for (size_t i = 1; i < 10; ++i)
        EXPECT_EQ(back[i], ColorValue(i + 1)) << i;
}

TEST_F(SettingsFileTest, OddColourLinesRead)
{
    writeFile("[COLOR]\r\nColor0=1\r\nColor2=abc\r\nCOLOR3=\r\nColor4=0x10\r\n"
              "Color5=-7\r\nColor6=99999999999\r\ncolor7= 8 \r\nColor8=9\r\nColor8=10\r\n"
              "[Other]\r\nColor9=11\r\n[Color]\r\nColor10=12\r\nColor-1=5\r\n");
    const std::vector<ColorValue> all = LoadStoredColors(12);
    ASSERT_EQ(all.size(), 12u);
    const std::vector<ColorValue> expected = {1,          kWhite, 0, kWhite, 0,  -7,
                                              1215752191, 8,      9, kWhite, 12, kWhite};
    EXPECT_EQ(all, expected);
    EXPECT_TRUE(LoadStoredColors(0).empty());
    EXPECT_TRUE(LoadStoredColors(-3).empty());
}

struct CorruptCase
{
    const char *name;
    QByteArray bytes;
};

class CorruptFileTest : public SettingsFileTest, public ::testing::WithParamInterface<CorruptCase>
{
};

TEST_P(CorruptFileTest, ReadsDefaultsAndSavesAroundTheJunk)
{
    const QByteArray junk = GetParam().bytes;
    writeFile(junk);
    const Settings s = LoadSettings();
    EXPECT_EQ(s.autoSave, 1);
    EXPECT_EQ(s.swatchCount, 64);
    EXPECT_EQ(LoadStoredColors(3), std::vector<ColorValue>(3, kWhite));

    SaveStoredColors(box({kRed}));
    SaveStartPoint(1);
    SaveSettings(Settings{0, 0, 10, 0, 0});
    const QByteArray after = readFile();
    EXPECT_TRUE(after.startsWith(junk.left(junk.lastIndexOf('\n') + 1)));
    EXPECT_EQ(LoadStoredColors(1)[0], kRed);
    EXPECT_EQ(LoadSettings().startSlot, 1);
    EXPECT_EQ(LoadSettings().swatchCount, 10);
}

QByteArray binaryJunk()
{
    QByteArray bytes(4096, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 131 + 7) % 251);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptFileTest,
    ::testing::Values(CorruptCase{"BinaryJunk", binaryJunk()},
                      CorruptCase{"HeaderWithoutBracket",
                                  "[APPSET\r\nnColor=5\r\n[COLOR\r\nColor0=7\r\n"},
                      CorruptCase{"NulBytes", QByteArray("[APP\0SET]\r\nnColor=5\r\n\0\0\0", 24)},
                      CorruptCase{"OnlyLineFeeds", QByteArray(1000, '\n')},
                      CorruptCase{"TenMegabyteLine", QByteArray(10 * 1024 * 1024, 'A')}),
    [](const auto &info) { return std::string(info.param.name); });

// A file saved by a Windows editor with a byte-order mark: read through the
// mark, written back in its own encoding, untouched where nothing changes.
class EncodedFileTest : public SettingsFileTest, public ::testing::WithParamInterface<const char *>
{
protected:
    QByteArray encoded(const QString &text) const
    {
        QStringEncoder encoder(GetParam(), QStringConverter::Flag::WriteBom);
        return encoder.encode(text);
    }
};

TEST_P(EncodedFileTest, RoundTripsByteForByte)
{
    const QByteArray original =
        encoded(QStringLiteral("[APPSET]\r\nAutoSave=0\r\n; 说明\r\n[COLOR]\r\nColor0=5\r\n"));
    writeFile(original);
    EXPECT_EQ(LoadSettings().autoSave, 0);
    ASSERT_TRUE(SaveStoredColors(box({5})));
    EXPECT_EQ(readFile(), original);
    ASSERT_TRUE(SaveStartPoint(3));
    EXPECT_EQ(readFile(), encoded(QStringLiteral("[APPSET]\r\nAutoSave=0\r\n; 说明\r\n"
                                                 "StartPoint=3\r\n[COLOR]\r\nColor0=5\r\n")));
}

INSTANTIATE_TEST_SUITE_P(Encodings, EncodedFileTest,
                         ::testing::Values("UTF-8", "UTF-16LE", "UTF-16BE"));

TEST_F(SettingsFileTest, UnreadableFileGivesDefaultsAndSurvivesSaves)
{
    // A folder under the file's name: no one, root included, can read it as text.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Tintavo.ini")));
    EXPECT_EQ(LoadSettings().swatchCount, 64);
    EXPECT_EQ(LoadStoredColors(1)[0], kWhite);
    SaveStoredColors(box({kRed}));
    SaveStartPoint(1);
    SaveSettings(Settings{});
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

} // namespace
} // namespace tintavo
