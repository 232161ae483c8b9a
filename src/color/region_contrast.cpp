#include "color/region_contrast.h"

#include "color/color_space.h"
#include "color/contrast.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tintavo {

namespace {

// Ratios run from 1:1 to 21:1; one bin a hundredth, as they are shown.
constexpr int kBins = 2101;

} // namespace

RegionContrast measureRegionContrast(Rgb text, PixelRegion region, quint8 *belowNormalAA)
{
    RegionContrast result;
    result.size = QSize(region.width, region.height);
    const qint64 count = qint64(region.width) * region.height;
    if (count <= 0 || !region.pixels)
        return result;

    // A region may hold millions of pixels: each channel's share of the
    // luminance is looked up rather than computed again.
    std::array<double, 256> red{}, green{}, blue{};
    for (int v = 0; v < 256; ++v) {
        const double linear = channelToLinear(v);
        red[v] = 0.2126 * linear;
        green[v] = 0.7152 * linear;
        blue[v] = 0.0722 * linear;
    }
    const double textLuminance = relativeLuminance(text) + 0.05;
    std::array<qint64, kBins> bins{};
    qint64 normal = 0, large = 0;
    double lowest = 21;
    quint32 lastPixel = 0x1000000u; // no pixel
    double ratio = 1;
    int pixelBin = 0;
    for (int y = 0; y < region.height; ++y) {
        const quint32 *row = region.pixels + y * region.stride;
        for (int x = 0; x < region.width; ++x) {
            // A screen's runs of one colour cost a comparison a pixel.
            const quint32 p = row[x] & 0xFFFFFFu;
            if (p != lastPixel) {
                lastPixel = p;
                const double l =
                    red[(p >> 16) & 0xFF] + green[(p >> 8) & 0xFF] + blue[p & 0xFF] + 0.05;
                ratio = l > textLuminance ? l / textLuminance : textLuminance / l;
                pixelBin = std::clamp(int(std::floor(ratio * 100.0)), 0, kBins - 1);
            }
            lowest = std::min(lowest, ratio);
            const bool passes = ratio >= contrast::kNormalAA;
            if (belowNormalAA)
                *belowNormalAA++ = !passes;
            normal += passes;
            large += ratio >= contrast::kLargeAA;
            ++bins[size_t(pixelBin)];
        }
    }
    result.lowestHundredths = int(std::floor(lowest * 100.0));
    // The pixel at this place in ascending order has at least 95 % of the
    // region at or above it.
    const qint64 rank = count / 20;
    qint64 below = 0;
    for (int bin = 0; bin < kBins; ++bin) {
        below += bins[bin];
        if (below > rank) {
            result.fifthPercentileHundredths = bin;
            break;
        }
    }
    result.normalAAPercent = int(normal * 100 / count);
    result.largeAAPercent = int(large * 100 / count);
    return result;
}

QString regionContrastText(const RegionContrast &c)
{
    return QStringLiteral("区域 %1×%2  最低 %3:1  P5 %4:1  正文 AA 达标 %5%  大字 AA 达标 %6%")
        .arg(c.size.width())
        .arg(c.size.height())
        .arg(hundredthsText(c.lowestHundredths), hundredthsText(c.fifthPercentileHundredths))
        .arg(c.normalAAPercent)
        .arg(c.largeAAPercent);
}

MeasuredRegion measureFrameRegion(Rgb text, const QImage &frame, const QRect &region,
                                  const SrgbStep &toSrgb)
{
    MeasuredRegion measured;
    measured.pixels = frame.copy(region);
    if (toSrgb)
        toSrgb(measured.pixels, region.topLeft());
    measured.belowNormalAA.resize(std::size_t(region.width()) * std::size_t(region.height()));
    measured.contrast =
        measureRegionContrast(text,
                              {reinterpret_cast<const quint32 *>(measured.pixels.constBits()),
                               region.width(), region.height(), measured.pixels.bytesPerLine() / 4},
                              measured.belowNormalAA.data());
    return measured;
}

} // namespace tintavo
