#pragma once

#include "settings/save_result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tintavo {

// Everything a save checks before it may touch the file at path: a symbolic
// link is followed only when its owner also owns the target or the folder
// holding the link (the rule the kernel applies in sticky folders); an
// existing file must be a regular file its owner may write, and that this
// user may write. On success `target` is the file to write.
SaveResult checkSaveTarget(const QString &path, QString &target);

// Gives the file at target exactly these bytes. Where the folder takes new
// files, through a flushed copy renamed over it (old or new text, never a
// mix; mode and owner kept). Where only the file itself can be written, the
// complete new text first goes, flushed, into a recovery copy in the user's
// configuration folder, then the file is rewritten in place and flushed and
// the copy dropped; without the copy the file is not touched.
SaveResult replaceFileContent(const QString &target, const QByteArray &bytes);

// The first step of an in-place rewrite: the complete new text of target,
// flushed, in recoveryDir(), where restoreInterruptedSaves finds it.
SaveResult writeRecoveryCopy(const QString &target, const QByteArray &bytes);

// Where recovery copies and the locks of files whose folder takes no new
// files are kept: a folder in the user's configuration folder.
QString recoveryDir();
// The lock file that guards saves of target when the folder beside it can
// take no lock.
QString fallbackLockPath(const QString &target);

// Finishes a save of the settings file at settingsPath that was cut off while
// the file was rewritten in place: its recovery copy, when the file is shorter
// or different, is written back. Any other recovery copy, or one that names
// another file, is deleted with a line on standard error: a start writes to
// its own settings file only. Returns the files that were restored. Callers
// hold no lock; the file's is taken if it is free, never waited for.
QStringList restoreInterruptedSaves(const QString &settingsPath);

} // namespace tintavo
