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

    // Takes the desktop's 32-bit 0xAARRGGBB pixels of `area`, row by row,
    // `stride` pixels apart, to sRGB, each through its monitor's profile.
    void toSrgb(quint32 *pixels, qsizetype stride, const QRect &area) const;

private:
    QList<QRect> m_monitors;
    std::vector<DisplayProfile> m_profiles;
};

} // namespace tintavo
