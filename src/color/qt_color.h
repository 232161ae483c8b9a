#pragma once

#include "color/rgb.h"

#include <QColor>

namespace tintavo {

inline QColor toQColor(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

inline Rgb toRgb(const QColor &c)
{
    return rgb(c.red(), c.green(), c.blue());
}

} // namespace tintavo
