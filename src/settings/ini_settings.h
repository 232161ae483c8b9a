#pragma once

#include "color/color_value.h"
#include "settings/ini_profile.h"
#include "settings/settings.h"

#include <QString>
#include <QtGlobal>

#include <span>
#include <vector>

namespace tintavo {

// "Tintavo.ini" beside the executable; when that folder takes no files and
// holds no Tintavo.ini (a system-wide install), Tintavo.ini in the user's
// configuration folder instead. Found on the first call and kept for the run:
// saves ask for it on the window's thread, which must not wait on the disk.
QString GetIniPath();

// Points every operation below at path; an empty path restores GetIniPath's
// own rule.
void setIniPathForTesting(const QString &path);

// One reading of the settings file. Start-up takes the settings and then the
// stored colours from it, so a large colour box is parsed once, not twice.
class SettingsSnapshot
{
public:
    explicit SettingsSnapshot(const QString &path = GetIniPath());

    // As LoadSettings.
    Settings settings() const;
    // As LoadStoredColors.
    std::vector<ColorValue> storedColors(qint32 count) const;
    // The file as read, for the sections read elsewhere.
    const IniProfile &profile() const { return m_profile; }

private:
    IniProfile m_profile;
};

// All five settings, the file parsed once; a missing file, section or key, or
// an empty value, gives the default of that key.
Settings LoadSettings();

// The colours of swatches 0 to count - 1 from one reading of the file.
std::vector<ColorValue> LoadStoredColors(qint32 count);

// Every save below writes the file at path; a save that runs on another
// thread is handed the path computed on the window's.

// Stores every non-white swatch under its index; a white swatch leaves what
// the file holds for it. One write of the file for all of them.
SaveResult SaveStoredColors(std::span<const ColorValue> colors, const QString &path = GetIniPath());

// The next colour-box slot, kept for the next start.
SaveResult SaveStartPoint(qint32 slot, const QString &path = GetIniPath());

// The keys one change of the settings writes, all under [APPSET].
enum class SettingsKeys
{
    Dialog,        // AutoSave, AutoLoad, nColor and AutoRember, in that order
    ShowContrast,  // 1 shows the preview's contrast read-out, 0 hides it
    SampleSize,    // the side of the square the picker averages
    PaletteFolder, // where the palette file dialogs last went
};

// The keys of each group in turn, as one change of the file: byte for byte
// what one write per group, in that order, would leave. A switch as 1 or 0.
SaveResult SaveSettingsKeys(const Settings &s, std::span<const SettingsKeys> groups,
                            const QString &path = GetIniPath());

// The settings dialog's four keys (not StartPoint).
SaveResult SaveSettings(const Settings &s, const QString &path = GetIniPath());

// The colour box's save as one change of the file: of the non-white swatches,
// those marked in `changed` and those whose stored colour is still the one in
// `loaded` (what this copy read at start or last saved), so that a swatch
// another running copy has saved since is left to it; the lines of swatches
// marked in `changed` that are white now but not in `loaded` are removed;
// then StartPoint. With every swatch marked and nothing loaded this is
// SaveStoredColors followed by SaveStartPoint, byte for byte.
SaveResult SaveColorBox(std::span<const ColorValue> colors, std::span<const ColorValue> loaded,
                        const std::vector<bool> &changed, qint32 startPoint,
                        const QString &path = GetIniPath());

} // namespace tintavo
