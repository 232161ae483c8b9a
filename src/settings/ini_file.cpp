#include "settings/ini_file.h"

#include "settings/safe_file.h"
#include "settings/save_lock.h"
#include "settings/text_encoding.h"

#include <QFile>
#include <QFileInfo>

namespace tintavo {

namespace {

// The stored file stays well below a megabyte even with 32768 swatches; a file
// far beyond that is not ours to load into memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

enum class FileState
{
    Missing,
    Unreadable,
    Read
};

FileState readFileBytes(const QString &path, QByteArray &bytes)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return FileState::Missing;
    // A folder, a pipe or a device under our name would block or never end.
    if (!info.isFile() || info.size() > kMaxFileSize)
        return FileState::Unreadable;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.exists() ? FileState::Unreadable : FileState::Missing;
    bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize)
        return FileState::Unreadable;
    return FileState::Read;
}

} // namespace

IniProfile readIniFile(const QString &path)
{
    QByteArray bytes;
    if (readFileBytes(path, bytes) != FileState::Read)
        return IniProfile{};
    return IniProfile::fromBytes(decodeText(bytes).text);
}

qint32 readIniInt(QByteArrayView section, QByteArrayView key, qint32 defaultValue,
                  const QString &path)
{
    return readIniFile(path).readInt(section, key, defaultValue);
}

SaveResult updateIniFile(const QString &path, const IniChange &change)
{
    QString target;
    if (SaveResult checked = checkSaveTarget(path, target); !checked)
        return checked;
    // Another running copy may save at the same moment: the lock makes its
    // read-change-write and ours follow each other instead of overlapping.
    SaveResult failure;
    const std::unique_ptr<FileLock> lock = lockForSaving(path, failure);
    if (!lock)
        return failure;

    QByteArray before;
    const FileState state = readFileBytes(target, before);
    if (state == FileState::Unreadable)
        return SaveResult::failure(target,
                                   QStringLiteral("现有的文件无法读取，为免丢失其内容不覆盖它"));

    const DecodedText decoded = decodeText(before);
    IniProfile profile = IniProfile::fromBytes(decoded.text);
    if (!change(profile))
        return SaveResult::failure(target, QStringLiteral("要写入的名称或值无法存入设置文件"));
    const QByteArray after = encodeText(profile.toBytes(), decoded.encoding);
    if (after == before) // also no new file for nothing to store
        return {};
    return replaceFileContent(target, after);
}

SaveResult writeIniStrings(const QString &path, std::span<const IniEntry> entries)
{
    if (entries.empty())
        return {};
    return updateIniFile(path, [entries](IniProfile &profile) {
        bool accepted = false;
        for (const IniEntry &entry : entries)
            accepted = profile.writeString(entry.section, entry.key, entry.value) || accepted;
        return accepted;
    });
}

SaveResult writeIniString(QByteArrayView section, QByteArrayView key, QByteArrayView value,
                          const QString &path)
{
    const IniEntry entry{section, key, value};
    return writeIniStrings(path, std::span<const IniEntry>(&entry, 1));
}

} // namespace tintavo
