#pragma once

#include <QString>

namespace tintavo {

// What the user is told when no system-information program can be started.
inline const QString kSystemInfoUnavailable = QStringLiteral("此时系统信息不可用");

// Starts, detached, the first system-information program found on PATH of
// hardinfo, kinfocenter, gnome-system-monitor, xfce4-taskmanager and lxtask.
// False when none is found or the one found does not start.
bool startSystemInfoTool();

} // namespace tintavo
