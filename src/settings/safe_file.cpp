#include "settings/safe_file.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tintavo {

namespace {

constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";
constexpr QByteArrayView kUtf16LEBom = "\xFF\xFE";
constexpr QByteArrayView kUtf16BEBom = "\xFE\xFF";
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

// Writes bytes into a fresh file in dir, flushed, and renames it to final.
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

// Whether fd is still the file at path: a holder removes the lock file as it
// lets go, so a waiter that then gets the lock may hold a file no one else
// will open again.
bool isFileAt(int fd, const QByteArray &path)
{
    struct stat held
    {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Waits until a descriptor of the watched file is closed (a holder letting
// go, or the kernel closing a dead holder's) or the lock file is removed, or
// at most maxMs: a file system shared with other machines tells nothing of
// their closes, so the lock is tried again now and then as well.
void waitForRelease(int watch, int maxMs)
{
    pollfd event{watch, POLLIN, 0};
    if (::poll(&event, 1, maxMs) > 0) {
        char drained[4096];
        while (::read(watch, drained, sizeof drained) > 0) {
        }
    }
}

// The lock on lockPath, or -1 with the reason in error (EWOULDBLOCK: still
// held by another copy when the deadline passed).
int takeLock(const QString &lockPath, QDeadlineTimer deadline, int &error)
{
    constexpr int kRecheckMs = 100;
    const QByteArray path = nativePath(lockPath);
    for (;;) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            error = errno;
            return -1;
        }
        // Watched before the first try, so a release just after it is not missed.
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (watch >= 0)
            ::inotify_add_watch(watch, path.constData(), IN_CLOSE | IN_ATTRIB | IN_DELETE_SELF);
        bool locked = false;
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                locked = true;
                break;
            }
            if (errno == EINTR)
                continue;
            error = errno;
            if (error != EWOULDBLOCK || deadline.hasExpired())
                break;
            waitForRelease(watch, int(std::min<qint64>(deadline.remainingTime(), kRecheckMs)));
            if (!isFileAt(fd, path))
                break; // removed by its holder: the next holder makes it anew
        }
        if (watch >= 0)
            ::close(watch);
        if (locked && isFileAt(fd, path)) {
            const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
            if (::ftruncate(fd, 0) == 0)
                writeAll(fd, pid);
            return fd;
        }
        ::close(fd);
        if (!locked && (error != EWOULDBLOCK || deadline.hasExpired()))
            return -1;
    }
}

} // namespace

SaveLock::~SaveLock()
{
    // Removed while still held: a copy that opens the name from now on makes
    // a new file, and one already waiting on this one sees it gone.
    ::unlink(nativePath(m_path).constData());
    ::close(m_fd);
}

std::unique_ptr<SaveLock> lockForSaving(const QString &path, SaveResult &failure, int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    QDir().mkpath(folderOf(path));
    QString lockPath = path + QStringLiteral(".lock");
    int error = 0;
    int fd = takeLock(lockPath, deadline, error);
    // A folder that takes no new files cannot hold the lock either.
    if (fd < 0 && error != EWOULDBLOCK) {
        QDir().mkpath(recoveryDir());
        lockPath = fallbackLockPath(QFileInfo(path).absoluteFilePath());
        fd = takeLock(lockPath, deadline, error);
    }
    if (fd >= 0)
        return std::make_unique<SaveLock>(fd, lockPath);
    if (error == EWOULDBLOCK) {
        failure =
            SaveResult::failure(path, QStringLiteral("另一个正在运行的 Tintavo 一直占用着它"));
    } else {
        failure = SaveResult::failure(
            path, QStringLiteral("文件所在的文件夹不能新建文件，配置文件夹“%1”也不能")
                      .arg(QDir::toNativeSeparators(recoveryDir())));
    }
    return nullptr;
}

QStringList restoreInterruptedSaves(const QString &settingsPath)
{
    // The file saves write, as they name it: a permitted link's target.
    QString own;
    checkSaveTarget(settingsPath, own);
    QStringList restored;
    const QDir dir(recoveryDir());
    for (const QString &name : dir.entryList({QStringLiteral("*.recovery")}, QDir::Files)) {
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
        const std::unique_ptr<SaveLock> lock = lockForSaving(target, failure, 0);
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

DecodedText decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith(kUtf8Bom))
        return {bytes.mid(kUtf8Bom.size()), TextEncoding::Utf8Bom};
    const bool le = bytes.startsWith(kUtf16LEBom);
    if (le || bytes.startsWith(kUtf16BEBom)) {
        QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
        return {text.toUtf8(), le ? TextEncoding::Utf16LE : TextEncoding::Utf16BE};
    }
    return {bytes, TextEncoding::Plain};
}

QByteArray encodeText(const QByteArray &text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Plain:
        return text;
    case TextEncoding::Utf8Bom:
        return kUtf8Bom.toByteArray() + text;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool le = encoding == TextEncoding::Utf16LE;
        QStringEncoder encoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        return (le ? kUtf16LEBom : kUtf16BEBom).toByteArray() +
               QByteArray(encoder.encode(QString::fromUtf8(text)));
    }
    }
    return text;
}

SaveResult SaveResult::failure(const QString &path, const QString &reason)
{
    return SaveResult{false, reason, path};
}

QString SaveResult::message() const
{
    return QStringLiteral("无法保存设置文件“%1”：%2").arg(QDir::toNativeSeparators(path), reason);
}

QString reasonForError(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("磁盘空间不足");
    case EROFS:
        return QStringLiteral("文件所在的文件系统是只读的");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入权限");
    case EISDIR:
        return QStringLiteral("同名的是一个文件夹，不是文件");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("文件夹不存在");
    default:
        return QStringLiteral("写入出错（%1）").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
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
