#include "platform/file_system.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace tintavo {

QString executableDir()
{
#ifdef Q_OS_LINUX
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists())
        return QFileInfo(self.symLinkTarget()).absolutePath();
#endif
    return {};
}

bool isDirWritable(const QString &dir)
{
    // access() also refuses root on a read-only mount, unlike a look at the
    // permission bits.
    return ::access(QFile::encodeName(dir).constData(), W_OK | X_OK) == 0;
}

} // namespace tintavo
