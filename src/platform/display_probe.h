#pragma once

#include <QString>
#include <QStringList>

namespace tintavo {

// Why the window system the toolkit is about to use cannot show a window, as
// one line for standard error in Chinese and in English; empty when it can.
// Asked before the application object exists, because the toolkit ends the
// program with an abort when its display cannot be reached. `args` is the
// whole command line: the toolkit's -platform and -display count. A platform
// that has no way to tell answers empty and leaves the judgement to the
// toolkit. Defined by the platform folder the build picks.
QString displayProblem(const QStringList &args);

} // namespace tintavo
