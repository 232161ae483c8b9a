#include "platform/file_lock.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tintavo {

namespace {

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
// their closes, so the lock is tried again now and then as well. Not
// QFileSystemWatcher: it needs an event loop, and the waiting thread blocks.
void waitForRelease(int watch, int maxMs)
{
    pollfd event{watch, POLLIN, 0};
    if (::poll(&event, 1, maxMs) > 0) {
        char drained[4096];
        while (::read(watch, drained, sizeof drained) > 0) {
        }
    }
}

} // namespace

std::unique_ptr<FileLock> FileLock::take(const QString &lockPath, QDeadlineTimer deadline,
                                         int &error)
{
    constexpr int kRecheckMs = 100;
    const QByteArray path = QFile::encodeName(lockPath);
    for (;;) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            error = errno;
            return nullptr;
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
                (void)!::pwrite(fd, pid.constData(), size_t(pid.size()), 0);
            return std::unique_ptr<FileLock>(new FileLock(fd, lockPath));
        }
        ::close(fd);
        if (!locked && (error != EWOULDBLOCK || deadline.hasExpired()))
            return nullptr;
    }
}

FileLock::~FileLock()
{
    // Removed while still held: a process that opens the name from now on
    // makes a new file, and one already waiting on this one sees it gone.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_handle);
}

} // namespace tintavo
