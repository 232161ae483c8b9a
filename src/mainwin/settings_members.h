#pragma once

#include <QtGlobal>

namespace tintavo {

// The main window's stored settings as it holds them while running. Switches
// are on only when equal to 1; anything else, as found in a hand-edited file,
// behaves as off.
struct SettingsMembers
{
    qint32 lAutoSave = 0;
    qint32 LAutoLoad = 0;
    qint32 lColor = 0;
    qint32 lRemenber = 0;
};

} // namespace tintavo
