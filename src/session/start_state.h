#pragma once

#include "color/color_template.h"
#include "color/rgb.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace tintavo {

// What the main window starts from: all of it read from the settings file, so
// it can be read on another thread while the window is being built.
struct StartState
{
    // Settings files put back from the recovery copy of a save cut off last
    // time; the user is told of them.
    QStringList restoredFiles;
    // The swatch count is already held to what the colour box can number.
    Settings settings;
    // Every swatch's stored colour when auto-load is on; empty when it is off.
    std::vector<Rgb> storedColors;
    // The user's own copy formats ([CopyFormats]).
    std::vector<CopyTemplate> copyFormats;
    // The foreground and background to open with, when the command line gave
    // them (not from the file).
    std::optional<std::pair<Rgb, Rgb>> pair = std::nullopt;
};

// Finishes a save cut off last time, then reads the settings file at path.
StartState readStartState(const QString &path);

} // namespace tintavo
