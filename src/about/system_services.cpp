#include "about/system_services.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstring>

namespace tintavo {

QStringList SystemInfoRegistry::defaultCandidates()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

SystemInfoRegistry::SystemInfoRegistry(QStringList candidates, ExecutableFinder finder)
    : candidates_(std::move(candidates)), finder_(std::move(finder))
{
    if (!finder_)
        finder_ = [](const QString &name) { return QStandardPaths::findExecutable(name); };
}

qint32 SystemInfoRegistry::openKey(quint32 root, const QString &keyName, quint32, Key &key)
{
    if (root != kHKeyLocalMachine || keyName.compare(kSysInfoPathKey, Qt::CaseInsensitive) != 0)
        return kRegNotFound;
    // Looked up afresh on each opening, so a tool installed meanwhile counts.
    for (const QString &name : std::as_const(candidates_)) {
        const QString path = finder_(name);
        if (path.isEmpty())
            continue;
        key = next_++;
        open_.insert(key, QFile::encodeName(path) + '\0');
        return kRegSuccess;
    }
    return kRegNotFound;
}

qint32 SystemInfoRegistry::queryValue(Key key, const QString &valueName, quint32 &type,
                                      char *buffer, quint32 &size)
{
    const auto it = open_.constFind(key);
    if (it == open_.cend() || valueName.compare(kSysInfoPathValue, Qt::CaseInsensitive) != 0)
        return kRegNotFound;
    const QByteArray &data = *it;
    if (quint32(data.size()) > size) {
        size = quint32(data.size());
        return kRegMoreData;
    }
    std::memcpy(buffer, data.constData(), size_t(data.size()));
    size = quint32(data.size());
    type = kRegSz;
    return kRegSuccess;
}

void SystemInfoRegistry::closeKey(Key key)
{
    open_.remove(key);
}

bool DetachedProcessLauncher::startDetached(const QString &path)
{
    return QProcess::startDetached(path, {});
}

bool ordinaryFileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

} // namespace tintavo
