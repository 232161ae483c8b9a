#pragma once

#include <QString>

#include <functional>

namespace tintavo {

// Answers whether new files can be created in a folder.
using DirWritableProbe = std::function<bool(const QString &dir)>;

// Where an install puts the program and its desktop entry, as absolute paths.
struct InstallLayout
{
    QString binDir;
    QString desktopEntry;
};

// The layout this build installs into.
InstallLayout configuredInstallLayout();

// The settings file for a program living in programDir: beside the program
// when a Tintavo.ini is already there or the folder can take one, otherwise
// Tintavo.ini in configDir. An installed copy (its desktop entry where the
// layout puts it, seen from programDir) always uses configDir: root may write
// to /usr/bin, and settings there would be everyone's, and lost with the
// package. The entry is looked for by its path relative to the program, so a
// staged or relocated install is known too.
QString resolveSettingsPath(const QString &programDir, const QString &configDir,
                            const DirWritableProbe &isWritable,
                            const InstallLayout &layout = configuredInstallLayout());

} // namespace tintavo
