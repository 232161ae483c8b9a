#pragma once

#include <QDeadlineTimer>
#include <QString>

#include <memory>

namespace tintavo {

// An exclusive lock on a lock file, which names the holder's process id for
// whoever looks. The system lets go of it when the holder ends, however it
// ends, so a process that died holding it never keeps the others out, and a
// running holder's lock is never taken from it however long it holds it.
// Not QLockFile: that judges a lock stale by its age and could take a running
// copy's. Letting go removes the lock file.
class FileLock
{
public:
    // The lock on the file at path, made where missing; while another process
    // holds it, waits for it until deadline. Null where it cannot be had, with
    // error EWOULDBLOCK when another process still held it at the deadline,
    // otherwise the errno of the step that failed. It blocks.
    static std::unique_ptr<FileLock> take(const QString &path, QDeadlineTimer deadline, int &error);

    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    FileLock(int handle, QString path) : m_handle(handle), m_path(std::move(path)) {}

    int m_handle;
    QString m_path;
};

} // namespace tintavo
