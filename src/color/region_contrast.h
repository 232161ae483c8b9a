#pragma once

#include "color/rgb.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace tintavo {

// How well one text colour reads over every pixel of a region of the screen:
// text set over a photograph, a gradient or a pattern is only as readable as
// the pixels behind it, which a check of two colours cannot tell.
struct RegionContrast
{
    QSize size;
    // The WCAG 2.2 ratios cut to hundredths, as the plate shows them: the
    // lowest over the region, and the fifth percentile (95 % of the pixels
    // give at least that).
    int lowestHundredths = 0;
    int fifthPercentileHundredths = 0;
    // The share of pixels against which the text reaches 4.5:1 (normal text,
    // AA) and 3:1 (large text, AA), in whole per cent, cut.
    int normalAAPercent = 0;
    int largeAAPercent = 0;
};

// A region of 0xAARRGGBB pixels (alpha ignored), row by row, `stride` pixels
// from one row to the next; the layout of a 32-bit QImage.
struct PixelRegion
{
    const quint32 *pixels = nullptr;
    int width = 0;
    int height = 0;
    qsizetype stride = 0;
};

// With `belowNormalAA`, width × height bytes row by row, each pixel's byte is
// set to 1 where the text falls short of 4.5:1 over it and 0 elsewhere.
RegionContrast measureRegionContrast(Rgb text, PixelRegion region, quint8 *belowNormalAA = nullptr);

// "区域 W×H  最低 R:1  P5 R:1  正文 AA 达标 N%  大字 AA 达标 N%".
QString regionContrastText(const RegionContrast &contrast);

// A rectangle of a frame measured: the figures, its pixels as they were
// measured (in sRGB), and for each pixel, row by row, 1 where the text falls
// short of 4.5:1 over it and 0 elsewhere.
struct MeasuredRegion
{
    RegionContrast contrast;
    QImage pixels;
    std::vector<quint8> belowNormalAA;
};

// Takes a copy of the pixels in `region`, given with where they lay in the
// frame, to sRGB in place.
using SrgbStep = std::function<void(QImage &pixels, QPoint origin)>;

// The contrast of `text` over `region` of a 32-bit frame (a frozen screen or
// a picture; `region` within it), the copy first taken through `toSrgb` where
// the frame's values are not sRGB yet.
MeasuredRegion measureFrameRegion(Rgb text, const QImage &frame, const QRect &region,
                                  const SrgbStep &toSrgb = {});

} // namespace tintavo
