#include "color/color_pair.h"

namespace tintavo {

void ColorPair::setColor(PairRole role, ColorValue color)
{
    ColorValue &held = role == PairRole::Foreground ? m_foreground : m_background;
    color &= 0xFFFFFF;
    if (held == color)
        return;
    held = color;
    emit changed();
}

} // namespace tintavo
