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
// configuration folder instead. Computed anew on every call.
QString GetIniPath();

// Points every operation below at path; an empty path restores GetIniPath's
// own rule.
void setIniPathForTesting(const QString &path);

// One reading of the settings file. Start-up takes the settings and then the
// stored colours from it, so a large colour box is parsed once, not twice.
class SettingsSnapshot
{
public:
    SettingsSnapshot();

    // As LoadSettings.
    Settings settings() const;
    // As LoadStoredColors.
    std::vector<ColorValue> storedColors(qint32 count) const;

private:
    IniProfile m_profile;
};

// All five settings, the file parsed once; a missing file, section or key, or
// an empty value, gives the default of that key.
Settings LoadSettings();

// Whether the picker shows its loupe: [APPSET] Loupe, on unless the file says
// otherwise (copies of the program that predate the key ignore it).
bool LoadLoupeEnabled();

// [APPSET] SampleSize as stored: the picker reads 1, 3 and 5 and takes any
// other value for 1.
int LoadSampleSize();

// Whether picks are colour-managed: [APPSET] ColorManaged, on unless it is 0.
bool LoadColorManaged();

// The colours of swatches 0 to count - 1 from one reading of the file.
std::vector<ColorValue> LoadStoredColors(qint32 count);

// Stores every non-white swatch under its index; a white swatch leaves what
// the file holds for it. One write of the file for all of them.
SaveResult SaveStoredColors(std::span<const ColorValue> colors);

// The next colour-box slot, kept for the next start.
SaveResult SaveStartPoint(qint32 slot);

// [APPSET] ShowContrast: 1 shows the preview's contrast read-out, 0 hides it.
SaveResult SaveShowContrast(bool show);

// [APPSET] SampleSize: the side of the square the picker averages.
SaveResult SaveSampleSize(int size);

// AutoSave, AutoLoad, nColor and AutoRember (not StartPoint), in that order;
// a switch as 1 or 0.
SaveResult SaveSettings(const Settings &s);

// The colour box's save as one change of the file: of the non-white swatches,
// those marked in `changed` and those whose stored colour is still the one in
// `loaded` (what this copy read at start or last saved), so that a swatch
// another running copy has saved since is left to it; the lines of swatches
// marked in `changed` that are white now but not in `loaded` are removed;
// then StartPoint. With every swatch marked and nothing loaded this is
// SaveStoredColors followed by SaveStartPoint, byte for byte.
SaveResult SaveColorBox(std::span<const ColorValue> colors, std::span<const ColorValue> loaded,
                        const std::vector<bool> &changed, qint32 startPoint);

} // namespace tintavo
