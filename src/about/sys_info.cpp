#include "about/sys_info.h"

namespace tintavo {

namespace {

// Finds the tool's path, or an empty text when it is not to be had.
QString findSysInfo(Registry &registry, const FileCheck &ordinaryFileExists)
{
    QString path;
    if (GetKeyValue(registry, kHKeyLocalMachine, kSysInfoPathKey, kSysInfoPathValue, path))
        return path; // taken as it stands: a missing file fails at the start

    QString directory;
    if (!GetKeyValue(registry, kHKeyLocalMachine, kSysInfoDirKey, kSysInfoDirValue, directory))
        return {};
    const QString candidate = directory + kSysInfoFileName;
    return ordinaryFileExists && ordinaryFileExists(candidate) ? candidate : QString();
}

} // namespace

void StartSysInfo(Registry &registry, const FileCheck &ordinaryFileExists,
                  ProcessLauncher &launcher, NoticeService &notices)
{
    const QString path = findSysInfo(registry, ordinaryFileExists);
    // A NUL inside the text would cut the path short on its way to the system
    // and start some other program, so such a path is refused outright.
    if (!path.isEmpty() && !path.contains(QChar(u'\0')) && launcher.startDetached(path))
        return;
    notices.showNotice(kSysInfoUnavailable);
}

} // namespace tintavo
