// The program's settings and stored colours in the settings file: what is read
// from it, the exact bytes saves leave, and where the file is.
#include "settings/color_box_store.h"
#include "settings/ini_path.h"
#include "settings_file_test.h"

#include <QDir>
#include <QStringEncoder>

#include <vector>

namespace tintavo {
namespace {

using test::SettingsFileTest;

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

// AutoSave, AutoLoad, nColor, AutoRember and StartPoint as read.
std::string shown(const Settings &s)
{
    return std::to_string(s.autoSave) + ' ' + std::to_string(s.autoLoad) + ' ' +
           std::to_string(s.swatchCount) + ' ' + std::to_string(s.rememberStartSlot) + ' ' +
           std::to_string(s.startSlot);
}

TEST_F(SettingsFileTest, AnyLetterCaseSuppliesAllFiveKeys)
{
    writeFile("[aPpSeT]\r\nAutoSave=0\r\nautoload=0\r\nNCOLOR=12\r\nAutoRember=0\r\n"
              "StartPoint=7\r\n");
    EXPECT_EQ(shown(LoadSettings()), "0 0 12 0 7");
}

// A missing, empty or corrupt file reads as the defaults, and saves keep its
// complete lines.
TEST_F(SettingsFileTest, NoFileOrJunkReadsDefaultsAndSavesAroundTheJunk)
{
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 131 + 7) % 251);
    const QByteArray files[] = {"<missing>",
                                "",
                                binary,
                                "[APPSET\r\nnColor=5\r\n[COLOR\r\nColor0=7\r\n",
                                QByteArray("[APP\0SET]\r\nnColor=5\r\n\0\0\0", 24),
                                QByteArray(1000, '\n'),
                                QByteArray(10 * 1024 * 1024, 'A')};
    for (const QByteArray &junk : files) {
        if (junk != "<missing>")
            writeFile(junk);
        EXPECT_EQ(shown(LoadSettings()), "1 1 64 1 0") << junk.left(40).constData();
        EXPECT_EQ(LoadStoredColors(64), box({}));
        EXPECT_EQ(readFile(), junk);

        SaveStoredColors(box({kRed}));
        SaveStartPoint(1);
        SaveSettings(Settings{false, false, 10, false, 0});
        EXPECT_TRUE(readFile().startsWith(junk.left(junk.lastIndexOf('\n') + 1)));
        EXPECT_EQ(LoadStoredColors(1)[0], kRed);
        EXPECT_EQ(shown(LoadSettings()), "0 0 10 0 1");
    }
}

// What a sequence of saves leaves in the file, starting without one (the
// main window's tests check the saves at exit).
TEST_F(SettingsFileTest, SavesLeaveExactlyTheseBytes)
{
    // clang-format off
    const std::pair<void (*)(), const char *> rows[] = {
        // Settings after the first exit join its [AppSet], and the other way round.
        {[] { SaveStartPoint(1); SaveSettings(Settings{true, false, 30, true, 99}); },
         "[AppSet]\r\nStartPoint=1\r\nAutoSave=1\r\nAutoLoad=0\r\nnColor=30\r\nAutoRember=1\r\n"},
        {[] { SaveSettings({false, true, -5, false, 42});
              SaveStoredColors(box({1018317})); SaveStartPoint(2); },
         "[APPSET]\r\nAutoSave=0\r\nAutoLoad=1\r\nnColor=-5\r\nAutoRember=0\r\nStartPoint=2\r\n"
         "[COLOR]\r\nColor0=1018317\r\n"},
        {[] { SaveSettings(Settings{}); SaveSettings(Settings{false, false, 65, false, 0}); },
         "[APPSET]\r\nAutoSave=0\r\nAutoLoad=0\r\nnColor=65\r\nAutoRember=0\r\n"},
        // A white swatch leaves its old line.
        {[] { SaveStoredColors(box({kRed, kGreen, kBlue}));
              SaveStoredColors(box({kBlue, kWhite})); },
         "[COLOR]\r\nColor0=16711680\r\nColor1=65280\r\nColor2=16711680\r\n"}};
    // clang-format on
    for (const auto &[saves, bytes] : rows) {
        QFile::remove(path());
        saves();
        EXPECT_EQ(readFile(), bytes);
    }
}

TEST_F(SettingsFileTest, ColoursBeyondALoweredCountStayForLater)
{
    std::vector<ColorValue> colors(10);
    for (size_t i = 0; i < colors.size(); ++i)
        colors[i] = ColorValue(i + 1);
    SaveStoredColors(colors);
    SaveStoredColors(box({kRed}, 4)); // a later run with 4 swatches, all white but one
    colors[0] = kRed;
    EXPECT_EQ(LoadStoredColors(10), colors);
}

TEST_F(SettingsFileTest, OddColourLinesRead)
{
    writeFile("[COLOR]\r\nColor0=1\r\nColor2=abc\r\nCOLOR3=\r\nColor4=0x10\r\n"
              "Color5=-7\r\nColor6=99999999999\r\ncolor7= 8 \r\nColor8=9\r\nColor8=10\r\n"
              "[Other]\r\nColor9=11\r\n[Color]\r\nColor10=12\r\nColor-1=5\r\n");
    const std::vector<ColorValue> expected = {1,          kWhite, 0, kWhite, 0,  -7,
                                              1215752191, 8,      9, kWhite, 12, kWhite};
    EXPECT_EQ(LoadStoredColors(12), expected);
    EXPECT_TRUE(LoadStoredColors(0).empty());
    EXPECT_TRUE(LoadStoredColors(-3).empty());
}

// A file saved by a Windows editor with a byte-order mark: read through the
// mark, written back in its own encoding, untouched where nothing changes.
TEST_F(SettingsFileTest, EncodedFilesRoundTripByteForByte)
{
    for (const char *encoding : {"UTF-8", "UTF-16LE", "UTF-16BE"}) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        const QByteArray original =
            encoder.encode(u"[APPSET]\r\nAutoSave=0\r\n; 说明\r\n[COLOR]\r\nColor0=5\r\n"_qs);
        writeFile(original);
        EXPECT_EQ(LoadSettings().autoSave, false) << encoding;
        ASSERT_TRUE(SaveStoredColors(box({5})));
        EXPECT_EQ(readFile(), original) << encoding;
        ASSERT_TRUE(SaveStartPoint(3));
        QStringEncoder again(encoding, QStringConverter::Flag::WriteBom);
        EXPECT_EQ(readFile(),
                  QByteArray(again.encode(u"[APPSET]\r\nAutoSave=0\r\n; 说明\r\n"
                                          "StartPoint=3\r\n[COLOR]\r\nColor0=5\r\n"_qs)))
            << encoding;
    }
}

// Two running copies: A changes swatch 2, B swatch 5; whichever closes first,
// both changes are in the file.
TEST_F(SettingsFileTest, TwoCopiesKeepEachOthersChanges)
{
    for (int first : {0, 1}) {
        ASSERT_TRUE(SaveStoredColors(std::vector<ColorValue>{1, 2, 3, 4, 5, 6, 7, 8}));
        std::vector<ColorValue> colors[2];
        std::unique_ptr<ColorBoxStore> copies[2];
        for (int i : {0, 1}) {
            colors[i] = SettingsSnapshot().storedColors(8);
            copies[i] = std::make_unique<ColorBoxStore>(ColorBoxStore::Source{
                [&colors, i]() -> const std::vector<ColorValue> & { return colors[i]; },
                [] { return 0; }, [] { return false; }});
            copies[i]->setLoaded(colors[i]);
            colors[i][2 + 3 * i] = 100 + i;
            copies[i]->markChanged(2 + 3 * i);
        }
        for (int i : {first, 1 - first})
            ASSERT_TRUE(copies[i]->save());
        EXPECT_EQ(LoadStoredColors(8), (std::vector<ColorValue>{1, 2, 100, 4, 5, 101, 7, 8}));
    }
}

// Beside the program when a Tintavo.ini is there or the folder takes files,
// else in the user's configuration folder (the e2e package test runs the real
// probe on a read-only install).
TEST(IniPath, BesideTheProgramWheneverItCanServe)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program"));
    const QString config = dir.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(program));
    // A file there, the folder writable, beside the program.
    const bool rows[][3] = {
        {false, true, true}, {false, false, false}, {true, true, true}, {true, false, true}};
    for (const auto &[fileThere, writable, beside] : rows) {
        QFile file(program + QStringLiteral("/Tintavo.ini"));
        ASSERT_TRUE(fileThere ? file.open(QIODevice::WriteOnly) : !file.exists() || file.remove());
        const QString path = ResolveIniPath(program, config, [&](const QString &asked) {
            EXPECT_EQ(asked, program);
            return writable;
        });
        EXPECT_EQ(path, (beside ? program : config) + QStringLiteral("/Tintavo.ini"));
    }
    EXPECT_TRUE(IsDirWritable(dir.path()));
    EXPECT_FALSE(IsDirWritable(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(IsDirWritable(program + QStringLiteral("/Tintavo.ini/sub"))); // even as root
}

} // namespace
} // namespace tintavo
