#pragma once

#include "color/rgb.h"

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

} // namespace tintavo
