#include "settings/save_lock.h"

#include "settings/safe_file.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace tintavo {

std::unique_ptr<FileLock> lockForSaving(const QString &path, SaveResult &failure, int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString lockPath = path + QStringLiteral(".lock");
    int error = 0;
    std::unique_ptr<FileLock> lock = FileLock::take(lockPath, deadline, error);
    // A folder that takes no new files cannot hold the lock either.
    if (!lock && error != EWOULDBLOCK) {
        QDir().mkpath(recoveryDir());
        lockPath = fallbackLockPath(QFileInfo(path).absoluteFilePath());
        lock = FileLock::take(lockPath, deadline, error);
    }
    if (lock)
        return lock;
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

} // namespace tintavo
