#pragma once

#include <QString>

namespace tintavo {

// The folder of the running program's executable, asked of the system, so it
// is known before the application object exists; empty where it cannot say.
QString executableDir();

// Whether the current user may create files in dir, asked of the system
// (so a read-only mount says no even to root).
bool isDirWritable(const QString &dir);

} // namespace tintavo
