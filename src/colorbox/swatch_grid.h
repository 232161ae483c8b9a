#pragma once

#include "common/twips.h"

#include <QtGlobal>

namespace tintavo {

// Swatch 0 (Picture1) as designed, in Frame3: it never moves, the grid starts
// at it and its size is the grid's pitch. Every further swatch is a copy.
inline constexpr TwipsRect kFirstSwatch{120, 195, 240, 240};

// How many columns of swatches fit in Frame3 when it is `frameWidth` twips
// wide, with a 120-twip margin; 0 when none does (the swatches then stay where
// they were).
int swatchColumns(qint32 frameWidth);

} // namespace tintavo
