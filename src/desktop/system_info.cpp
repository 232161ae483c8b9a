#include "desktop/system_info.h"

#include <QProcess>
#include <QStandardPaths>

namespace tintavo {

bool startSystemInfoTool()
{
    for (const char *name :
         {"hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager", "lxtask"}) {
        // Looked up on each press, so a program installed meanwhile counts.
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return QProcess::startDetached(path, {});
    }
    return false;
}

} // namespace tintavo
