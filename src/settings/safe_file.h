#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace tintavo {

// How a settings file's text sits on disk. The profile reader works on 8-bit
// text; a file a Windows editor saved with a byte-order mark is read through
// it and written back the way it came.
enum class TextEncoding
{
    Plain,
    Utf8Bom,
    Utf16LE,
    Utf16BE
};

struct DecodedText
{
    QByteArray text; // 8-bit (UTF-8 where the file was Unicode), without a mark
    TextEncoding encoding = TextEncoding::Plain;
};

DecodedText decodeText(const QByteArray &bytes);
QByteArray encodeText(const QByteArray &text, TextEncoding encoding);

// What became of a save: on failure, why, in words for the user, and where.
struct SaveResult
{
    bool ok = true;
    QString reason;
    QString path;

    explicit operator bool() const { return ok; }
    static SaveResult failure(const QString &path, const QString &reason);
    // The one line the user is shown and standard error receives.
    QString message() const;
};

// Why a system call failed, in words for the user.
QString reasonForError(int error);

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

// The lock that makes the saves of running copies into one file follow each
// other: an flock on a lock file, which names the holder's process id for
// whoever looks. The kernel lets go of it when the holder ends, however it
// ends, so a copy that died holding it never keeps the others out, and a
// running copy's lock is never taken from it however long it holds it.
// Letting go removes the lock file.
class SaveLock
{
public:
    SaveLock(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    ~SaveLock();
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

private:
    int m_fd;
    QString m_path;
};

// How long a save waits for another running copy to finish its own.
inline constexpr int kLockWaitMs = 6000;

// Takes the lock beside the file, or where its folder takes no new files, in
// recoveryDir(); waits up to waitMs while another copy holds it. Null, with
// the reason in failure, when it cannot be had. It blocks: the window's
// thread leaves this to the save queue.
std::unique_ptr<SaveLock> lockForSaving(const QString &path, SaveResult &failure,
                                        int waitMs = kLockWaitMs);

// Finishes a save of the settings file at settingsPath that was cut off while
// the file was rewritten in place: its recovery copy, when the file is shorter
// or different, is written back. Any other recovery copy, or one that names
// another file, is deleted with a line on standard error: a start writes to
// its own settings file only. Returns the files that were restored. Callers
// hold no lock; the file's is taken if it is free, never waited for.
QStringList restoreInterruptedSaves(const QString &settingsPath);

} // namespace tintavo
