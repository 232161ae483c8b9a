#pragma once

#include "color/color_value.h"

#include <QColor>

namespace tintavo {

// The toolkit's colour for a stored colour value; only the low 24 bits count,
// so a hand-edited value outside 0..0xFFFFFF still shows a colour.
inline QColor toQColor(ColorValue c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

inline ColorValue fromQColor(const QColor &c)
{
    return RGB(c.red(), c.green(), c.blue());
}

} // namespace tintavo
