#include "picker/save_pixel_color.h"

namespace tintavo {

void SavePixelColor(qint32 &lPicIndex, qint32 swatchCount,
                    const std::function<void(qint32 index)> &writeSwatch)
{
    if (swatchCount < 1)
        return;
    if (lPicIndex > swatchCount - 1 || lPicIndex < 0)
        lPicIndex = 0;
    if (writeSwatch)
        writeSwatch(lPicIndex);
    lPicIndex = lPicIndex + 1;
}

} // namespace tintavo
