#include "settings/ini_settings.h"

#include "platform/file_system.h"
#include "settings/ini_file.h"
#include "settings/ini_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <charconv>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>
#include <type_traits>

namespace tintavo {

namespace {

constexpr QByteArrayView kAppSet = "APPSET";
// StartPoint has always been written under this spelling; lookups ignore case,
// so it lands in the same section.
constexpr QByteArrayView kAppSetStartPoint = "AppSet";
constexpr QByteArrayView kStartPoint = "StartPoint";
constexpr QByteArrayView kColorSection = "COLOR";
constexpr QByteArrayView kColorKeyPrefix = "Color";

using enum SettingForm;
// Keys spelled as the file has always had them.
// clang-format off
const SettingRow kRows[] = {
    // field, section, key, read as, written here, shown in the dialog
    {&Settings::autoSave,          kAppSet, "AutoSave",      Switch,            true,  true},
    {&Settings::autoLoad,          kAppSet, "AutoLoad",      Switch,            true,  true},
    {&Settings::swatchCount,       kAppSet, "nColor",        Number,            true,  true},
    {&Settings::rememberStartSlot, kAppSet, "AutoRember",    Switch,            true,  true},
    {&Settings::startSlot,         kAppSet, kStartPoint,     Number,            false, false},
    {&Settings::showContrast,      kAppSet, "ShowContrast",  OnUnlessZero,      true,  false},
    {&Settings::loupe,             kAppSet, "Loupe",         Switch,            true,  false},
    {&Settings::sampleSize,        kAppSet, "SampleSize",    Number,            true,  false},
    {&Settings::loupeCells,        kAppSet, "LoupeCells",    Number,            true,  false},
    {&Settings::colorManaged,      kAppSet, "ColorManaged",  OnUnlessPlainZero, true,  false},
    {&Settings::paletteFolder,     kAppSet, "PaletteFolder", Text,              true,  false},
};
// clang-format on

// The row's value in s as the file stores it.
QByteArray storedText(const SettingRow &row, const Settings &s)
{
    return std::visit(
        [&s](auto field) {
            const auto &value = s.*field;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>)
                return QByteArray(value ? "1" : "0");
            else if constexpr (std::is_same_v<T, qint32>)
                return QByteArray::number(value);
            else
                return value.toUtf8();
        },
        row.field);
}

// Reads row from profile into s, whose value is the default.
void readRow(const SettingRow &row, const IniProfile &profile, Settings &s)
{
    const std::optional<QByteArray> text = profile.readString(row.section, row.key);
    if (auto on = std::get_if<bool Settings::*>(&row.field)) {
        const int fallback = s.**on ? 1 : 0;
        if (row.form == OnUnlessPlainZero)
            s.**on = !text || text->trimmed() != "0";
        else if (row.form == OnUnlessZero)
            s.**on = profile.readInt(row.section, row.key, fallback) != 0;
        else
            s.**on = profile.readInt(row.section, row.key, fallback) == 1;
    } else if (auto number = std::get_if<qint32 Settings::*>(&row.field)) {
        s.**number = profile.readInt(row.section, row.key, s.**number);
    } else if (text) {
        s.*std::get<QString Settings::*>(row.field) = QString::fromUtf8(*text).trimmed();
    }
}

const QString kFileName = QStringLiteral("Tintavo.ini");

QString programDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Before the application object exists Qt cannot say; the system can.
    const QString dir = executableDir();
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

QString configDir()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (QCoreApplication::applicationName().isEmpty())
        dir += QStringLiteral("/Tintavo");
    return dir;
}

// The swatch a key names, when it is one ColorKey spells (in any letter case).
std::optional<qint32> colorKeyIndex(QByteArrayView key)
{
    const qsizetype prefix = kColorKeyPrefix.size();
    if (key.size() <= prefix || key.size() > prefix + 10)
        return std::nullopt;
    for (qsizetype i = 0; i < prefix; ++i) {
        // The prefix is all letters, whose two cases differ in this bit only.
        if ((key[i] | 0x20) != (kColorKeyPrefix[i] | 0x20))
            return std::nullopt;
    }
    const QByteArrayView digits = key.sliced(prefix);
    if (digits.size() > 1 && digits.front() == '0')
        return std::nullopt;
    qint64 index = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        index = index * 10 + (c - '0');
    }
    if (index > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(index);
}

// "Color" and the index, built without allocating: a large colour box asks
// for tens of thousands of these.
class ColorKey
{
public:
    explicit ColorKey(qint32 index)
    {
        std::memcpy(m_text, kColorKeyPrefix.data(), size_t(kColorKeyPrefix.size()));
        char *end = std::to_chars(m_text + kColorKeyPrefix.size(), std::end(m_text), index).ptr;
        m_size = end - m_text;
    }
    QByteArrayView view() const { return QByteArrayView(m_text, m_size); }

private:
    char m_text[24];
    qsizetype m_size = 0;
};

} // namespace

InstallLayout configuredInstallLayout()
{
    return {.binDir = QStringLiteral(TINTAVO_INSTALL_BINDIR),
            .desktopEntry = QStringLiteral(TINTAVO_DESKTOP_ENTRY)};
}

QString resolveSettingsPath(const QString &programDir, const QString &configDir,
                            const DirWritableProbe &isWritable, const InstallLayout &layout)
{
    const QString besideProgram = QDir(programDir).filePath(kFileName);
    // The data folder may lie outside the prefix (an absolute one): the way
    // from the program to its entry is worked out from both full paths.
    const QString entry = QDir(layout.binDir).relativeFilePath(layout.desktopEntry);
    const bool installed = QFileInfo::exists(QDir(programDir).filePath(entry));
    if (!installed && (QFileInfo::exists(besideProgram) || isWritable(programDir)))
        return besideProgram;
    return QDir(configDir).filePath(kFileName);
}

QString settingsFilePath()
{
    return resolveSettingsPath(programDir(), configDir(), isDirWritable);
}

SettingsSnapshot::SettingsSnapshot(const QString &path) : m_profile(readIniFile(path)) {}

Settings SettingsSnapshot::settings() const
{
    Settings s;
    for (const SettingRow &row : kRows)
        readRow(row, m_profile, s);
    return s;
}

std::vector<ColorValue> SettingsSnapshot::storedColors(qint32 count) const
{
    if (count <= 0)
        return {};
    // One pass over the colour lines: each is matched to its swatch by its
    // key, exactly as a lookup of ColorKey(i) would match it, and the first
    // of a repeated key counts, as for every other reader.
    std::vector<ColorValue> colors(size_t(count), kWhite);
    std::vector<bool> found(static_cast<size_t>(count), false);
    m_profile.forEachKey(kColorSection, [&](QByteArrayView key, QByteArrayView value) {
        const std::optional<qint32> index = colorKeyIndex(key);
        if (!index || *index >= count || found[size_t(*index)])
            return;
        found[size_t(*index)] = true;
        if (!value.isEmpty())
            colors[size_t(*index)] = parseIniInt(value);
    });
    return colors;
}

Settings readSettings(const QString &path)
{
    return SettingsSnapshot(path).settings();
}

Settings loadSettings()
{
    return readSettings(settingsFilePath());
}

std::vector<ColorValue> readStoredColors(const QString &path, qint32 count)
{
    if (count <= 0)
        return {};
    return SettingsSnapshot(path).storedColors(count);
}

SaveResult saveColorBox(std::span<const ColorValue> colors, std::span<const ColorValue> loaded,
                        const std::vector<bool> &changed, qint32 startPoint, const QString &path)
{
    const QByteArray slot = QByteArray::number(startPoint);
    const auto loadedColor = [&](size_t i) { return i < loaded.size() ? loaded[i] : kWhite; };
    // White is never written; a swatch that became white in this run has its
    // line taken out instead, or the colour it held would come back at the
    // next start. One that was white already (auto-load off) keeps its line.
    const auto madeWhite = [&](size_t i) {
        return colors[i] == kWhite && changed[i] && loadedColor(i) != kWhite;
    };
    return updateIniFile(path, [&](IniProfile &profile) {
        char value[16];
        for (size_t i = 0; i < colors.size(); ++i) {
            const ColorKey key{qint32(i)};
            if (madeWhite(i))
                profile.removeKey(kColorSection, key.view());
            if (colors[i] == kWhite)
                continue;
            if (!changed[i] && profile.readInt(kColorSection, key.view(), kWhite) != loadedColor(i))
                continue;
            const qsizetype size = std::to_chars(value, std::end(value), colors[i]).ptr - value;
            profile.writeString(kColorSection, key.view(), QByteArrayView(value, size));
        }
        profile.writeString(kAppSetStartPoint, kStartPoint, slot);
        return true;
    });
}

SaveResult saveSettingRows(const Settings &s, std::span<const SettingRow *const> rows,
                           const QString &path)
{
    std::vector<QByteArray> values;
    std::vector<IniEntry> entries;
    for (const SettingRow *row : rows)
        values.push_back(storedText(*row, s));
    for (size_t i = 0; i < rows.size(); ++i)
        entries.push_back({rows[i]->section, rows[i]->key, values[i]});
    return writeIniStrings(path, entries);
}

std::span<const SettingRow> settingRows()
{
    return kRows;
}

bool differs(const SettingRow &row, const Settings &a, const Settings &b)
{
    return std::visit([&](auto field) { return a.*field != b.*field; }, row.field);
}

} // namespace tintavo
