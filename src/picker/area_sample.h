#pragma once

#include "color/rgb.h"

#include <QImage>
#include <QPoint>

#include <optional>
#include <vector>

namespace tintavo {

// How many device pixels on a side a pick takes the mean of: one pixel, or a
// small square that evens out anti-aliased text and dithered images.
inline constexpr int kSampleSizes[] = {1, 3, 5};

// The sample size a stored setting stands for: 1, 3 or 5; anything else
// (a hand-edited or newer file) means a single pixel.
int sampleSizeFromSetting(int stored);

// The mean colour of the `size` × `size` pixels in the middle of `square`,
// a `side` × `side` square read row by row. Each channel is the mean of the
// 8-bit values, rounded half up; pixels that could not be read are left out,
// and nothing comes back when none could.
std::optional<Rgb> meanColor(const std::vector<std::optional<Rgb>> &square, int side, int size);

// The colours of the pixels of a 32-bit picture within `radius` of `centre`,
// row by row (2·radius + 1 on a side); nothing for pixels off the picture, so
// that a square at its edge averages what it holds, as one at the screen's
// edge does.
std::vector<std::optional<Rgb>> pixelSquare(const QImage &picture, QPoint centre, int radius);

// The colour a pick of `size` (1, 3 or 5) takes at a pixel of a 32-bit
// picture: meanColor() of its square; nothing off the picture.
std::optional<Rgb> pickedPictureColor(const QImage &picture, QPoint at, int size);

} // namespace tintavo
