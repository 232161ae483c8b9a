#pragma once

#include "color/rgb.h"

namespace tintavo {

// Turns a uniform number 0 <= u < 1 into a colour channel: u × 256 rounded to
// the nearest integer, an exact half to the even neighbour, 256 taken as 255.
// So 0 comes half as often and 255 one and a half times as often as any other
// value; the colour box has always drawn its random colours this way.
int channelFromUnit(double u);

// A random colour, red, green and blue drawn in that order.
Rgb randomColor();

} // namespace tintavo
