#pragma once

#include "color/color_value.h"

#include <QtGlobal>
#include <functional>

namespace tintavo {

// The colour-box step of a capture: the next slot wraps to 0 once it is past the
// last swatch, is written, and moves on by one. So after the last swatch is
// written lPicIndex holds the swatch count until the next capture wraps it.
// A count below 1 writes nothing; a negative index (never written by the
// program, but possible in a damaged state) wraps to 0 like one past the end.
void SavePixelColor(qint32 &lPicIndex, qint32 swatchCount,
                    const std::function<void(qint32 index)> &writeSwatch);

} // namespace tintavo
