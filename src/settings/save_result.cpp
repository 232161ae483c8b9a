#include "settings/save_result.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tintavo {

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

void printSaveFailure(const SaveResult &result)
{
    std::fprintf(stderr, "%s\n", result.message().toUtf8().constData());
    std::fflush(stderr);
}

} // namespace tintavo
