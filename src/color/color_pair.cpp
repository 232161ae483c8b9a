#include "color/color_pair.h"

namespace tintavo {

ColorPair::ColorPair(QObject *parent) : QObject(parent) {}

void ColorPair::setColor(PairRole role, Rgb color)
{
    if (m_colors[index(role)] == color)
        return;
    m_colors[index(role)] = color;
    emit changed();
}

} // namespace tintavo
