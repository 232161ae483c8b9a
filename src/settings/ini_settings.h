#pragma once

#include "color/color_value.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

#include <QString>
#include <QtGlobal>

#include <span>
#include <vector>

namespace tintavo {

// "Tintavo.ini" beside the executable; when that folder takes no files and
// holds no Tintavo.ini (a system-wide install), Tintavo.ini in the user's
// configuration folder instead. Asked once, at start-up: a run's session
// keeps the answer, and the window never waits on the disk for it.
QString settingsFilePath();

// One reading of the settings file. Start-up takes the settings and then the
// stored colours from it, so a large colour box is parsed once, not twice.
class SettingsSnapshot
{
public:
    explicit SettingsSnapshot(const QString &path);

    // As readSettings.
    Settings settings() const;
    // As readStoredColors.
    std::vector<ColorValue> storedColors(qint32 count) const;
    // The file as read, for the sections read elsewhere.
    const IniProfile &profile() const { return m_profile; }

private:
    IniProfile m_profile;
};

// Every setting from the file at path, parsed once; a missing file, section
// or key, or an empty value, gives the default of that key.
Settings readSettings(const QString &path);
// readSettings of the program's own settings file.
Settings loadSettings();

// The colours of swatches 0 to count - 1 from one reading of the file.
std::vector<ColorValue> readStoredColors(const QString &path, qint32 count);

// Every save below writes the file at path; a save that runs on another
// thread is handed the path computed on the window's.

// The values of rows in s, in that order, as one change of the file: byte
// for byte what one write per key would leave.
SaveResult saveSettingRows(const Settings &s, std::span<const SettingRow *const> rows,
                           const QString &path);

// The colour box's save as one change of the file: of the non-white swatches,
// those marked in `changed` and those whose stored colour is still the one in
// `loaded` (what this copy read at start or last saved), so that a swatch
// another running copy has saved since is left to it; the lines of swatches
// marked in `changed` that are white now but not in `loaded` are removed;
// then StartPoint.
SaveResult saveColorBox(std::span<const ColorValue> colors, std::span<const ColorValue> loaded,
                        const std::vector<bool> &changed, qint32 startPoint, const QString &path);

} // namespace tintavo
