#include "colorbox/random_color.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace tintavo {

int channelFromUnit(double u)
{
    return std::clamp(int(std::nearbyint(u * 256)), 0, 255); // nearbyint: ties to even
}

Rgb randomColor()
{
    QRandomGenerator *random = QRandomGenerator::global();
    const int red = channelFromUnit(random->generateDouble());
    const int green = channelFromUnit(random->generateDouble());
    return rgb(red, green, channelFromUnit(random->generateDouble()));
}

} // namespace tintavo
