#pragma once

#include "color/color_value.h"
#include "settings/ini_file.h"
#include "settings/ini_settings.h"

#include <span>
#include <vector>

// Saves of parts of the settings file, for tests to build a file the way the
// program's own saves build it.
namespace tintavo::test {

// The keys the settings dialog shows, as its Save writes them.
inline SaveResult saveDialogSettings(const Settings &s, const QString &path)
{
    std::vector<const SettingRow *> shown;
    for (const SettingRow &row : settingRows()) {
        if (row.inDialog)
            shown.push_back(&row);
    }
    return saveSettingRows(s, shown, path);
}

// Every non-white swatch under its index, in one write; StartPoint untouched.
inline SaveResult saveStoredColors(std::span<const ColorValue> colors, const QString &path)
{
    return updateIniFile(path, [&](IniProfile &profile) {
        for (size_t i = 0; i < colors.size(); ++i) {
            if (colors[i] != kWhite)
                profile.writeString("COLOR", "Color" + QByteArray::number(qulonglong(i)),
                                    QByteArray::number(colors[i]));
        }
        return true;
    });
}

inline SaveResult saveStartPoint(qint32 slot, const QString &path)
{
    return writeIniString("AppSet", "StartPoint", QByteArray::number(slot), path);
}

} // namespace tintavo::test
