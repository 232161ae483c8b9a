#pragma once

#include "settings/ini_profile.h"
#include "settings/save_result.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <span>

namespace tintavo {

// The whole file parsed; a missing or unreadable file (not a regular file, too
// large, a read error) reads as an empty profile.
IniProfile readIniFile(const QString &path);

// Reads one integer from the file at path; see IniProfile::readInt.
qint32 readIniInt(QByteArrayView section, QByteArrayView key, qint32 defaultValue,
                  const QString &path);

// One write; the texts it views must outlive the call that takes it.
struct IniEntry
{
    QByteArrayView section;
    QByteArrayView key;
    QByteArrayView value;
};

// A change to a profile; false when it found nothing it could store.
using IniChange = std::function<bool(IniProfile &)>;

// Changes the file at path as one step: under a lock the current file is read
// again (decoded as it is stored), the change applied to it and the result
// written back in the same encoding, through replaceFileContent, after
// checkSaveTarget allowed it. Creates the file and its folder when missing.
// Fails, with the reason, when the lock stayed taken, the existing file could
// not be read (it is then left alone rather than replaced by these keys
// alone), the change stored nothing, or the write failed.
SaveResult updateIniFile(const QString &path, const IniChange &change);

// Applies the writes, in order, as one updateIniFile. Entries with names
// or values that cannot be stored are skipped.
SaveResult writeIniStrings(const QString &path, std::span<const IniEntry> entries);

// One entry of the above.
SaveResult writeIniString(QByteArrayView section, QByteArrayView key, QByteArrayView value,
                          const QString &path);

} // namespace tintavo
