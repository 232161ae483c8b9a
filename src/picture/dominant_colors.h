#pragma once

#include "color/rgb.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace tintavo {

// One of a picture's main colours and the share of its pixels nearest to it.
struct ColorShare
{
    Rgb color;
    double share = 0; // 0..1
};

// The main colours of `region` of a 32-bit picture (alpha ignored): its
// pixels gathered into at most `count` clusters of colours that look alike
// (in OKLab), each given as its mean and its share of the region's pixels,
// the largest share first. Fewer come back where the region holds fewer
// colours. The same pixels always give the same colours.
std::vector<ColorShare> extractColors(const QImage &picture, const QRect &region, int count);

// The shares in whole per cent that add up to 100: each cut, and the per
// cents left over given to those cut the most.
std::vector<int> wholePercents(const std::vector<ColorShare> &colors);

} // namespace tintavo
