#include "settings/ini_settings.h"

#include "settings/ini_path.h"
#include "settings/ini_profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

#include <charconv>
#include <cstring>
#include <iterator>
#include <limits>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tintavo {

namespace {

// Every key the program stores, spelled as the file has always had them.
constexpr QByteArrayView kAppSetRead = "APPSET";
// StartPoint has always been written under this spelling; lookups ignore case,
// so it lands in the same section.
constexpr QByteArrayView kAppSetStartPoint = "AppSet";
constexpr QByteArrayView kColorSection = "COLOR";
constexpr QByteArrayView kColorKeyPrefix = "Color";
constexpr QByteArrayView kAutoSave = "AutoSave";
constexpr QByteArrayView kAutoLoad = "AutoLoad";
constexpr QByteArrayView kCount = "nColor";
constexpr QByteArrayView kRemember = "AutoRember";
constexpr QByteArrayView kStartPoint = "StartPoint";
constexpr QByteArrayView kShowContrast = "ShowContrast";
constexpr QByteArrayView kSampleSize = "SampleSize";
constexpr QByteArrayView kLoupe = "Loupe";
constexpr QByteArrayView kColorManaged = "ColorManaged";
constexpr QByteArrayView kPaletteFolder = "PaletteFolder";

const QString kFileName = QStringLiteral("Tintavo.ini");

struct PathOverrides
{
    QString iniPath;
    QString programDir;
    DirWritableProbe probe;
    QString found; // GetIniPath's answer, once it has been worked out
    QMutex mutex;
};

PathOverrides &overrides()
{
    static PathOverrides instance;
    return instance;
}

QString programDir()
{
    if (!overrides().programDir.isEmpty())
        return overrides().programDir;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
#ifdef Q_OS_LINUX
    // Before the application object exists Qt cannot say; the kernel can.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists())
        return QFileInfo(self.symLinkTarget()).absolutePath();
#endif
    return QDir::currentPath();
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

// Writes the swatches SaveColorBox picks, and StartPoint when asked, into
// one reading of the file.
SaveResult SaveColorBox(std::span<const ColorValue> colors, std::span<const ColorValue> loaded,
                        const std::vector<bool> &changed, qint32 startPoint, bool withStartPoint,
                        const QString &path)
{
    const QByteArray slot = QByteArray::number(startPoint);
    const auto loadedColor = [&](size_t i) { return i < loaded.size() ? loaded[i] : kWhite; };
    // White is never written; a swatch that became white in this run has its
    // line taken out instead, or the colour it held would come back at the
    // next start. One that was white already (auto-load off) keeps its line.
    const auto madeWhite = [&](size_t i) {
        return colors[i] == kWhite && changed[i] && loadedColor(i) != kWhite;
    };
    bool any = withStartPoint;
    for (size_t i = 0; i < colors.size() && !any; ++i)
        any = colors[i] != kWhite || madeWhite(i);
    if (!any)
        return {};
    return UpdateProfileFile(path, [&](IniProfile &profile) {
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
        if (withStartPoint)
            profile.writeString(kAppSetStartPoint, kStartPoint, slot);
        return true;
    });
}

} // namespace

bool IsDirWritable(const QString &dir)
{
#ifdef Q_OS_UNIX
    // access() also refuses root on a read-only mount, unlike a look at the
    // permission bits.
    return ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
#else
    return QFileInfo(dir).isWritable();
#endif
}

InstallLayout configuredInstallLayout()
{
    return {QStringLiteral(TINTAVO_INSTALL_BINDIR), QStringLiteral(TINTAVO_DESKTOP_ENTRY)};
}

QString ResolveIniPath(const QString &programDir, const QString &configDir,
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

void setProgramDirForTesting(const QString &dir)
{
    const QMutexLocker locker(&overrides().mutex);
    overrides().programDir = dir;
    overrides().found.clear();
}

void setDirWritableProbeForTesting(DirWritableProbe probe)
{
    const QMutexLocker locker(&overrides().mutex);
    overrides().probe = std::move(probe);
    overrides().found.clear();
}

QString GetIniPath()
{
    PathOverrides &o = overrides();
    const QMutexLocker locker(&o.mutex);
    if (!o.iniPath.isEmpty())
        return o.iniPath;
    if (o.found.isEmpty())
        o.found = ResolveIniPath(programDir(), configDir(),
                                 o.probe ? o.probe : DirWritableProbe(IsDirWritable));
    return o.found;
}

void setIniPathForTesting(const QString &path)
{
    const QMutexLocker locker(&overrides().mutex);
    overrides().iniPath = path;
}

SettingsSnapshot::SettingsSnapshot(const QString &path) : m_profile(ReadProfileFile(path)) {}

Settings SettingsSnapshot::settings() const
{
    const Settings defaults;
    const auto readSwitch = [this](QByteArrayView key, bool fallback) {
        return m_profile.readInt(kAppSetRead, key, fallback ? 1 : 0) == 1;
    };
    Settings s;
    s.autoSave = readSwitch(kAutoSave, defaults.autoSave);
    s.autoLoad = readSwitch(kAutoLoad, defaults.autoLoad);
    s.swatchCount = m_profile.readInt(kAppSetRead, kCount, defaults.swatchCount);
    s.rememberStartSlot = readSwitch(kRemember, defaults.rememberStartSlot);
    s.startSlot = m_profile.readInt(kAppSetRead, kStartPoint, defaults.startSlot);
    s.showContrast = m_profile.readInt(kAppSetRead, kShowContrast, 1) != 0;
    s.loupe = readSwitch(kLoupe, defaults.loupe);
    s.sampleSize = m_profile.readInt(kAppSetRead, kSampleSize, defaults.sampleSize);
    // Only a plain 0 turns it off: a word the user may have meant otherwise
    // (off, no) keeps picks right rather than raw.
    const std::optional<QByteArray> managed = m_profile.readString(kAppSetRead, kColorManaged);
    s.colorManaged = !managed || managed->trimmed() != "0";
    s.paletteFolder =
        QString::fromUtf8(m_profile.readString(kAppSetRead, kPaletteFolder).value_or(QByteArray()))
            .trimmed();
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
            colors[size_t(*index)] = parseProfileInt(value);
    });
    return colors;
}

Settings LoadSettings()
{
    return SettingsSnapshot().settings();
}

std::vector<ColorValue> LoadStoredColors(qint32 count)
{
    if (count <= 0)
        return {};
    return SettingsSnapshot().storedColors(count);
}

SaveResult SaveStoredColors(std::span<const ColorValue> colors, const QString &path)
{
    return SaveColorBox(colors, {}, std::vector<bool>(colors.size(), true), 0, false, path);
}

SaveResult SaveStartPoint(qint32 slot, const QString &path)
{
    return WriteProfileString(kAppSetStartPoint, kStartPoint, QByteArray::number(slot), path);
}

SaveResult SaveColorBox(std::span<const ColorValue> colors, std::span<const ColorValue> loaded,
                        const std::vector<bool> &changed, qint32 startPoint, const QString &path)
{
    return SaveColorBox(colors, loaded, changed, startPoint, true, path);
}

SaveResult SaveSettingsKeys(const Settings &s, std::span<const SettingsKeys> groups,
                            const QString &path)
{
    const auto onOff = [](bool on) { return QByteArrayView(on ? "1" : "0"); };
    const QByteArray count = QByteArray::number(s.swatchCount);
    const QByteArray sampleSize = QByteArray::number(s.sampleSize);
    const QByteArray paletteFolder = s.paletteFolder.toUtf8();
    std::vector<IniEntry> entries;
    for (const SettingsKeys group : groups) {
        switch (group) {
        case SettingsKeys::Dialog:
            entries.insert(entries.end(), {{kAppSetRead, kAutoSave, onOff(s.autoSave)},
                                           {kAppSetRead, kAutoLoad, onOff(s.autoLoad)},
                                           {kAppSetRead, kCount, count},
                                           {kAppSetRead, kRemember, onOff(s.rememberStartSlot)}});
            break;
        case SettingsKeys::ShowContrast:
            entries.push_back({kAppSetRead, kShowContrast, onOff(s.showContrast)});
            break;
        case SettingsKeys::SampleSize:
            entries.push_back({kAppSetRead, kSampleSize, sampleSize});
            break;
        case SettingsKeys::PaletteFolder:
            entries.push_back({kAppSetRead, kPaletteFolder, paletteFolder});
            break;
        }
    }
    return WriteProfileStrings(path, entries);
}

SaveResult SaveSettings(const Settings &s, const QString &path)
{
    const SettingsKeys dialog[] = {SettingsKeys::Dialog};
    return SaveSettingsKeys(s, dialog, path);
}

} // namespace tintavo
