#pragma once

#include "color/color_value.h"

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

// The sampled screen still reports stored colour values.
inline QColor toQColor(ColorValue c)
{
    return toQColor(toRgb(c));
}

inline ColorValue fromQColor(const QColor &c)
{
    return toColorValue(toRgb(c));
}

} // namespace tintavo
