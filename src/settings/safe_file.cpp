#include "settings/safe_file.h"

#include "settings/save_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tintavo {

namespace {

// First line of a recovery copy; the second holds the file it belongs to.
constexpr QByteArrayView kRecoveryMagic = "Tintavo recovery copy\n";

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Writes all of bytes at offset, going on after short writes.
bool writeAll(int fd, QByteArrayView bytes, off_t offset = 0)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.data() + done, size_t(bytes.size() - done), offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// A rename or an unlink only lasts a crash once the folder is flushed too.
void syncFolder(const QString &dir)
{
    const int fd = ::open(nativePath(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

// A new file in dir that no one else has; its descriptor, or -1 with errno.
int createUnique(const QString &dir, const QString &stem, QString &created, mode_t mode)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        created = QDir(dir).filePath(QStringLiteral(".%1.%2").arg(stem).arg(
            QRandomGenerator::global()->generate64(), 0, 36));
        const int fd = ::open(nativePath(created).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Not QSaveFile: it keeps neither the file's owner nor, past the rename, the
// folder's flush. Writes bytes into a fresh file in dir, flushed, and renames
// it to final.
// With `like`, the new file takes its mode and, where allowed, its owner.
// Returns 0, or the errno of the step that failed (nothing is left behind).
int writeAndRename(const QString &final, const QByteArray &bytes, const struct stat *like)
{
    const QString dir = folderOf(final);
    QString temporary;
    const int fd = createUnique(dir, QFileInfo(final).fileName(), temporary, 0666);
    if (fd < 0)
        return errno;
    bool ok = true;
    if (like) {
        if (::geteuid() == 0)
            (void)!::fchown(fd, like->st_uid, like->st_gid);
        ok = ::fchmod(fd, like->st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(nativePath(temporary).constData(), nativePath(final).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(nativePath(temporary).constData());
        return error;
    }
    syncFolder(dir);
    return 0;
}

QString recoveryCopyPath(const QString &target)
{
    const QByteArray id =
        QCryptographicHash::hash(nativePath(target), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(recoveryDir()).filePath(QString::fromLatin1(id) + QStringLiteral(".recovery"));
}

QByteArray recoveryCopyText(const QString &target, const QByteArray &bytes)
{
    return kRecoveryMagic.toByteArray() + nativePath(target).toPercentEncoding() + '\n' + bytes;
}

// The file a recovery copy belongs to and the content it holds.
bool parseRecoveryCopy(const QByteArray &copy, QString &target, QByteArray &bytes)
{
    if (!copy.startsWith(kRecoveryMagic))
        return false;
    const qsizetype end = copy.indexOf('\n', kRecoveryMagic.size());
    if (end < 0)
        return false;
    target = QFile::decodeName(QByteArray::fromPercentEncoding(
        copy.mid(kRecoveryMagic.size(), end - kRecoveryMagic.size())));
    bytes = copy.mid(end + 1);
    return !target.isEmpty();
}

QByteArray readWhole(const QString &path, bool *ok = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    if (ok)
        *ok = opened && file.error() == QFileDevice::NoError;
    return bytes;
}

// The in-place rewrite, once the recovery copy is safe: the new text over the
// old from the start, cut to its length, flushed. When it fails half-way the
// old text goes back, so the file stays whole; the copy is kept only if even
// that failed, for the next start to finish the save.
SaveResult rewriteInPlace(const QString &target, const QByteArray &bytes, const QString &copy)
{
    bool readable = false;
    const QByteArray old = readWhole(target, &readable);
    const int fd = ::open(nativePath(target).constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0 || !readable) {
        const int error = fd < 0 ? errno : EIO;
        if (fd >= 0)
            ::close(fd);
        QFile::remove(copy);
        return SaveResult::failure(target, reasonForError(error));
    }
    bool ok = writeAll(fd, bytes) && ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    bool whole = ok;
    if (!ok) {
        whole = writeAll(fd, old) && ::ftruncate(fd, off_t(old.size())) == 0 && ::fsync(fd) == 0;
    }
    ::close(fd);
    if (ok || whole) {
        QFile::remove(copy);
        syncFolder(recoveryDir());
    }
    return ok ? SaveResult{} : SaveResult::failure(target, reasonForError(error));
}

} // namespace

QStringList restoreInterruptedSaves(const QString &settingsPath)
{
    // The file saves write, as they name it: a permitted link's target.
    QString own;
    checkSaveTarget(settingsPath, own);
    QStringList restored;
    const QDir dir(recoveryDir());
    // Listed without a name filter: one would start the regular expression
    // engine at every start, half a megabyte of memory for the run.
    for (const QString &name : dir.entryList(QDir::Files)) {
        if (!name.endsWith(u".recovery"))
            continue;
        const QString copyPath = dir.filePath(name);
        QString target;
        QByteArray bytes;
        if (!parseRecoveryCopy(readWhole(copyPath), target, bytes)) {
            QFile::remove(copyPath);
            continue;
        }
        // The folder is the user's, but what lies there is not proof of what
        // to overwrite: a copy is put back only onto the file this start
        // would save to anyway, and only under the name that file gives it.
        // One named for another settings file (a copy of the program kept
        // elsewhere) is that copy's to put back at its own start.
        if (copyPath == recoveryCopyPath(target) && target != own)
            continue;
        if (target != own || copyPath != recoveryCopyPath(own)) {
            QFile::remove(copyPath);
            const QString line =
                QStringLiteral("已丢弃恢复副本“%1”：它要写入“%2”，而不是这个 "
                               "Tintavo 的设置文件“%3”\n")
                    .arg(QDir::toNativeSeparators(copyPath), QDir::toNativeSeparators(target),
                         QDir::toNativeSeparators(own));
            std::fputs(line.toUtf8().constData(), stderr);
            std::fflush(stderr);
            continue;
        }
        // Not waited for: a start must not keep the window from coming up. A
        // copy holding the lock is saving this file in place itself, over this
        // recovery copy; whatever it leaves, the next start finds.
        SaveResult failure;
        const std::unique_ptr<FileLock> lock = lockForSaving(target, failure, 0);
        // The save that wrote it may have finished (or still be running) by now.
        if (!lock || !QFileInfo::exists(copyPath))
            continue;
        if (readWhole(target) == bytes) {
            QFile::remove(copyPath);
            continue;
        }
        QString checked;
        if (checkSaveTarget(target, checked) && replaceFileContent(checked, bytes)) {
            QFile::remove(copyPath);
            restored << target;
        }
    }
    return restored;
}

SaveResult checkSaveTarget(const QString &path, QString &target)
{
    target = QFileInfo(path).absoluteFilePath();
    const QByteArray native = nativePath(target);
    struct stat link
    {
    };
    if (::lstat(native.constData(), &link) != 0) {
        if (errno == ENOENT)
            return {};
        return SaveResult::failure(target, reasonForError(errno));
    }
    struct stat file = link;
    if (S_ISLNK(link.st_mode)) {
        if (::stat(native.constData(), &file) != 0) {
            return SaveResult::failure(
                target, QStringLiteral("它是一个符号链接，指向的文件不存在或无法访问"));
        }
        struct stat folder
        {
        };
        const bool folderKnown = ::stat(nativePath(folderOf(target)).constData(), &folder) == 0;
        if (link.st_uid != file.st_uid && !(folderKnown && link.st_uid == folder.st_uid)) {
            return SaveResult::failure(
                target, QStringLiteral("它是一个符号链接，其所有者既不是目标文件的所有者，"
                                       "也不是所在文件夹的所有者，为安全起见不跟随它写入"));
        }
        target = QFileInfo(target).canonicalFilePath();
    }
    if (S_ISDIR(file.st_mode))
        return SaveResult::failure(target, reasonForError(EISDIR));
    if (!S_ISREG(file.st_mode))
        return SaveResult::failure(target, QStringLiteral("它不是普通文件"));
    if (!(file.st_mode & S_IWUSR))
        return SaveResult::failure(target, QStringLiteral("文件被设为只读"));
    if (::access(nativePath(target).constData(), W_OK) != 0)
        return SaveResult::failure(target, reasonForError(errno));
    return {};
}

SaveResult replaceFileContent(const QString &target, const QByteArray &bytes)
{
    struct stat existing
    {
    };
    const bool exists = ::stat(nativePath(target).constData(), &existing) == 0;
    const int error = writeAndRename(target, bytes, exists ? &existing : nullptr);
    if (error == 0)
        return {};
    // A folder that takes no new files may still hold a file this user can
    // write: that file is rewritten in place, behind a recovery copy.
    if (!exists || (error != EACCES && error != EPERM))
        return SaveResult::failure(target, reasonForError(error));

    if (SaveResult copied = writeRecoveryCopy(target, bytes); !copied)
        return copied;
    return rewriteInPlace(target, bytes, recoveryCopyPath(target));
}

SaveResult writeRecoveryCopy(const QString &target, const QByteArray &bytes)
{
    QDir().mkpath(recoveryDir());
    const int error =
        writeAndRename(recoveryCopyPath(target), recoveryCopyText(target, bytes), nullptr);
    if (error == 0)
        return {};
    return SaveResult::failure(
        target,
        QStringLiteral("文件所在的文件夹不能新建文件，而在配置文件夹“%1”中写入恢复副本失败（%2）")
            .arg(QDir::toNativeSeparators(recoveryDir()), reasonForError(error)));
}

QString recoveryDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tintavo/recovery");
}

QString fallbackLockPath(const QString &target)
{
    QString lock = recoveryCopyPath(target);
    lock.replace(lock.size() - 8, 8, QStringLiteral("lock"));
    return lock;
}

} // namespace tintavo
