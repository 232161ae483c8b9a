#pragma once

#include "about/registry.h"

#include <QString>
#include <functional>

namespace tintavo {

// Where the system-information tool is registered: first the full path of the
// tool, failing that the directory that holds kSysInfoFileName.
inline const QString kSysInfoPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString kSysInfoPathValue = QStringLiteral("PATH");
inline const QString kSysInfoDirKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString kSysInfoDirValue = QStringLiteral("MSINFO");
inline const QString kSysInfoFileName = QStringLiteral("\\MSINFO32.EXE");

inline const QString kSysInfoUnavailable = QStringLiteral("此时系统信息不可用");

// Starts programs as processes of their own, without waiting for them.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    // Starts the program at `path` with no arguments; true when it started.
    virtual bool startDetached(const QString &path) = 0;
};

// Shows a plain notice: the program's title "Tintavo", an OK button only, no
// icon; returns once the user closed it.
class NoticeService
{
public:
    virtual ~NoticeService() = default;

    virtual void showNotice(const QString &text) = 0;
};

// True when `path` names an existing ordinary file that is not hidden.
using FileCheck = std::function<bool(const QString &path)>;

// Starts the system-information tool found through the registry, or tells the
// user it is not available when it is not registered, its file is missing,
// the path is empty or unusable, or the start fails.
void StartSysInfo(Registry &registry, const FileCheck &ordinaryFileExists,
                  ProcessLauncher &launcher, NoticeService &notices);

} // namespace tintavo
