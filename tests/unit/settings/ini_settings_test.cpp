// Settings and stored colours in the settings file: what is read, the exact
// bytes saves leave, where the file is, and the count box's text.
#include "settings/count_text.h"
#include "settings/ini_path.h"
#include "settings_file_test.h"
#include "settings_saves.h"

#include <QDir>
#include <QStringEncoder>

#include <vector>

namespace tintavo {
namespace {

using test::saveDialogSettings;
using test::saveStartPoint;
using test::saveStoredColors;
using test::SettingsFileTest;

constexpr ColorValue kRed = packRgb(255, 0, 0);
constexpr ColorValue kBlue = packRgb(0, 0, 255);

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

// A missing, empty or corrupt file reads as the defaults; saves keep its lines.
TEST_F(SettingsFileTest, NoFileOrJunkReadsDefaultsAndSavesAroundTheJunk)
{
    QByteArray junk(4096, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 131 + 7) % 251);
    // clang-format off
    const QByteArray files[] = {"<missing>", "", junk,
                                "[APPSET\r\nnColor=5\r\n[COLOR\r\nColor0=7\r\n",
                                QByteArray("[APP\0SET]\r\nnColor=5\r\n\0\0\0", 24),
                                QByteArray(1000, '\n'), QByteArray(10 * 1024 * 1024, 'A')};
    // clang-format on
    for (const QByteArray &file : files) {
        if (file != "<missing>")
            writeFile(file);
        EXPECT_EQ(shown(readSettings(path())), "1 1 64 1 0") << file.left(40).constData();
        EXPECT_EQ(readStoredColors(path(), 64), box({}));
        EXPECT_EQ(readFile(), file);

        saveStoredColors(box({kRed}), path());
        saveStartPoint(1, path());
        saveDialogSettings(Settings{.autoSave = false,
                                    .autoLoad = false,
                                    .swatchCount = 10,
                                    .rememberStartSlot = false},
                           path());
        EXPECT_TRUE(readFile().startsWith(file.left(file.lastIndexOf('\n') + 1)));
        EXPECT_EQ(readStoredColors(path(), 1)[0], kRed);
        EXPECT_EQ(shown(readSettings(path())), "0 0 10 0 1");
    }
}

// What a sequence of saves leaves in a new file (the main window's tests check
// the saves at exit).
TEST_F(SettingsFileTest, SavesLeaveExactlyTheseBytes)
{
    // clang-format off
    const std::pair<void (*)(const QString &), const char *> rows[] = {
        // Settings after the first exit join its [AppSet], and the other way round.
        {[](const QString &p) { saveStartPoint(1, p);
              saveDialogSettings({.autoLoad = false, .swatchCount = 30, .startSlot = 99}, p); },
         "[AppSet]\r\nStartPoint=1\r\nAutoSave=1\r\nAutoLoad=0\r\nnColor=30\r\nAutoRember=1\r\n"},
        {[](const QString &p) { saveDialogSettings({.autoSave = false, .swatchCount = -5,
                                                    .rememberStartSlot = false, .startSlot = 42}, p);
              saveStoredColors(box({1018317}), p); saveStartPoint(2, p); },
         "[APPSET]\r\nAutoSave=0\r\nAutoLoad=1\r\nnColor=-5\r\nAutoRember=0\r\nStartPoint=2\r\n"
         "[COLOR]\r\nColor0=1018317\r\n"},
        {[](const QString &p) { saveDialogSettings(Settings{}, p);
              saveDialogSettings({.autoSave = false, .autoLoad = false, .swatchCount = 65,
                                  .rememberStartSlot = false}, p); },
         "[APPSET]\r\nAutoSave=0\r\nAutoLoad=0\r\nnColor=65\r\nAutoRember=0\r\n"},
        // A white swatch, or one beyond a lowered count, leaves its old line.
        {[](const QString &p) { saveStoredColors(std::vector<ColorValue>{1, 2, 3, 4, 5, 6}, p);
              saveStoredColors(box({kBlue, kWhite}, 4), p); },
         "[COLOR]\r\nColor0=16711680\r\nColor1=2\r\nColor2=3\r\nColor3=4\r\nColor4=5\r\n"
         "Color5=6\r\n"},
        // A swatch this copy made white loses its line (a hand-doubled one
        // too); one it did not change, or found white, keeps it.
        {[](const QString &p) { saveStoredColors(std::vector<ColorValue>{kRed, kBlue, 5, 7}, p);
              QFile file(p);
              file.open(QIODevice::Append) && file.write("[Color]\r\nColor0=9\r\n");
              file.close();
              saveColorBox(box({}, 4), std::vector<ColorValue>{kRed, kBlue, kWhite, 7},
                           {true, false, true, true}, 0, p); },
         "[COLOR]\r\nColor1=16711680\r\nColor2=5\r\n[Color]\r\n[AppSet]\r\nStartPoint=0\r\n"}};
    // clang-format on
    for (const auto &[saves, bytes] : rows) {
        QFile::remove(path());
        saves(path());
        EXPECT_EQ(readFile(), bytes);
    }
}

// Keys in any letter case, and odd colour lines.
TEST_F(SettingsFileTest, OddLinesRead)
{
    writeFile("[aPpSeT]\r\nAutoSave=0\r\nautoload=0\r\nNCOLOR=12\r\nAutoRember=0\r\n"
              "StartPoint=7\r\n[COLOR]\r\nColor0=1\r\nColor2=abc\r\nCOLOR3=\r\nColor4=0x10\r\n"
              "Color5=-7\r\nColor6=99999999999\r\ncolor7= 8 \r\nColor8=9\r\nColor8=10\r\n"
              "[Other]\r\nColor9=11\r\n[Color]\r\nColor10=12\r\nColor-1=5\r\nColor01=6\r\n"
              "Colour11=7\r\nColor11 1=8\r\nColor1=\r\nColor4294967297=9\r\n");
    const std::vector<ColorValue> expected = {1,          kWhite, 0, kWhite, 0,  -7,
                                              1215752191, 8,      9, kWhite, 12, kWhite};
    EXPECT_EQ(readStoredColors(path(), 12), expected);
    EXPECT_EQ(shown(readSettings(path())), "0 0 12 0 7");
    EXPECT_TRUE(readStoredColors(path(), 0).empty());
    EXPECT_TRUE(readStoredColors(path(), -3).empty());
}

// A file saved by a Windows editor with a byte-order mark: read through the
// mark, written back in its own encoding, untouched where nothing changes.
TEST_F(SettingsFileTest, EncodedFilesRoundTripByteForByte)
{
    for (const char *encoding : {"UTF-8", "UTF-16LE", "UTF-16BE"}) {
        const auto encoded = [encoding](const QString &text) {
            return QByteArray(QStringEncoder(encoding, QStringConverter::Flag::WriteBom)(text));
        };
        const QByteArray original =
            encoded(u"[APPSET]\r\nAutoSave=0\r\n; 说明\r\n[COLOR]\r\nColor0=5\r\n"_qs);
        writeFile(original);
        EXPECT_FALSE(readSettings(path()).autoSave) << encoding;
        ASSERT_TRUE(saveStoredColors(box({5}), path()));
        EXPECT_EQ(readFile(), original) << encoding;
        ASSERT_TRUE(saveStartPoint(3, path()));
        EXPECT_EQ(readFile(), encoded(u"[APPSET]\r\nAutoSave=0\r\n; 说明\r\nStartPoint=3\r\n"
                                      "[COLOR]\r\nColor0=5\r\n"_qs))
            << encoding;
    }
}

// Beside the program when a Tintavo.ini is there or the folder takes files, else
// in the user's configuration folder; never beside an installed copy (known by
// its desktop entry, wherever the data folder was put): root can write to /usr/bin.
TEST(IniPath, BesideTheProgramWheneverItCanServe)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("usr/local/bin"));
    const QString config = dir.filePath(QStringLiteral("config"));
    // The data folder under the prefix, and an absolute one outside it.
    for (const InstallLayout &layout : {InstallLayout{.binDir = "/usr/local/bin",
                                       .desktopEntry = "/usr/local/share/applications/t.desktop"},
                                        InstallLayout{.binDir = "/usr/local/bin",
                                        .desktopEntry = "/usr/share/applications/t.desktop"}}) {
        const QString entry = dir.filePath(layout.desktopEntry.mid(1));
        ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(QFileInfo(entry).path()));
        // Installed, a file there, the folder writable, beside the program.
        const bool rows[][4] = {{false, false, true, true}, {false, false, false, false},
                                {false, true, true, true},  {false, true, false, true},
                                {true, true, true, false},  {true, false, true, false}};
        for (const auto &[installed, fileThere, writable, beside] : rows) {
            QFile file(program + QStringLiteral("/Tintavo.ini"));
            ASSERT_TRUE(fileThere ? file.open(QIODevice::WriteOnly)
                                  : !file.exists() || file.remove());
            QFile desktopEntry(entry);
            ASSERT_TRUE(installed ? desktopEntry.open(QIODevice::WriteOnly)
                                  : !desktopEntry.exists() || desktopEntry.remove());
            const QString path = resolveSettingsPath(
                program, config, [&](const QString &) { return writable; }, layout);
            EXPECT_EQ(path, (beside ? program : config) + QStringLiteral("/Tintavo.ini"))
                << installed << fileThere << writable << layout.desktopEntry.toStdString();
        }
    }
}

// The count box's text as the settings dialog saves it: a number rounded half
// to even and held to 32 bits, or 65 for anything else.
TEST(CountText, ReadsTheCountBox)
{
    // clang-format off
    const std::pair<const char16_t *, qint32> rows[] = {
        {u"64", 64}, {u"-5", -5}, {u"+7", 7}, {u"\t 30 ", 30}, {u"007", 7}, {u"12.5", 12},
        {u"13.5", 14}, {u"-2.5", -2}, {u"0.5", 0}, {u"12.51", 13}, {u".6", 1}, {u"12.", 12},
        {u"1e2", 100}, {u"2.5E+1", 25}, {u"125e-1", 12}, {u"2147483647", 2147483647},
        {u"2147483647.5", 2147483647}, {u"-2147483649", -2147483647 - 1},
        {u"1e99999", 2147483647}, {u"1e-99999", 0}};
    // clang-format on
    for (const auto &[text, count] : rows)
        EXPECT_EQ(countFromText(QString::fromUtf16(text)), count)
            << QString::fromUtf16(text).toStdString();
    for (const char16_t *text :
         {u"", u" \t", u"abc", u"30a", u"-", u".", u"1e", u"1.2.3", u"5 5", u"0x10", u"1,000",
          u"inf", u"nan", u"30\n", u"\uFF13\uFF10", u"\u300030"})
        EXPECT_EQ(countFromText(QString::fromUtf16(text)), 65)
            << QString::fromUtf16(text).toStdString();
}

} // namespace
} // namespace tintavo
