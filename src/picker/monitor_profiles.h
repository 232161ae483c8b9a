#pragma once

#include "picker/display_profile.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <vector>

namespace tintavo {

class ScreenSampler;

// The colour profile of each monitor, as the desktop publishes them, for
// taking what a pick reads back to sRGB.
class MonitorProfiles
{
public:
    // Reads the monitors and their profiles afresh. A published profile that
    // cannot be used is said once on standard error; picks on that monitor
    // then give the screen's own values.
    void load(ScreenSampler &sampler);

    // The usable profile of the monitor showing a desktop point; none where
    // its monitor publishes none (or not a usable one).
    const DisplayProfile *at(QPoint native) const;

private:
    QList<QRect> m_monitors;
    std::vector<DisplayProfile> m_profiles;
};

} // namespace tintavo
