#include "colorbox/swatch_grid.h"

namespace tintavo {

int swatchColumns(qint32 frameWidth)
{
    // 64-bit so that no width can overflow; a negative width fits no column.
    const qint64 cols = (qint64(frameWidth) - 120) / kFirstSwatch.width;
    return cols > 0 ? int(cols) : 0; // at most (2^31 - 121) / 240
}

} // namespace tintavo
