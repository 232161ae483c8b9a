#include "platform/pixel_format.h"

#include <bit>

namespace tintavo {

namespace {

int channelTo8Bits(quint32 pixel, quint32 mask)
{
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask);
    const quint32 value = (pixel & mask) >> shift;
    if (width >= 8)
        return static_cast<int>(value >> (width - 8));
    // Narrow channels (5 or 6 bits at 16 bits a pixel) are stretched so that
    // their largest value becomes 255, not 248 or 252.
    const quint32 largest = (1u << width) - 1;
    return static_cast<int>((value * 255 + largest / 2) / largest);
}

bool maskFits(quint32 mask, int bitsPerPixel)
{
    if (mask == 0)
        return false;
    return bitsPerPixel >= 32 || (mask >> bitsPerPixel) == 0;
}

} // namespace

bool isDecodable(const PixelFormat &format)
{
    switch (format.bitsPerPixel) {
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    return maskFits(format.redMask, format.bitsPerPixel) &&
           maskFits(format.greenMask, format.bitsPerPixel) &&
           maskFits(format.blueMask, format.bitsPerPixel);
}

std::optional<Rgb> decodePixel(const PixelFormat &format, const quint8 *data, std::size_t size)
{
    if (!isDecodable(format) || !data)
        return std::nullopt;
    const std::size_t bytes = static_cast<std::size_t>(format.bitsPerPixel / 8);
    if (size < bytes)
        return std::nullopt;
    quint32 pixel = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::size_t index = format.msbFirst ? i : bytes - 1 - i;
        pixel = (pixel << 8) | data[index];
    }
    return rgb(channelTo8Bits(pixel, format.redMask), channelTo8Bits(pixel, format.greenMask),
               channelTo8Bits(pixel, format.blueMask));
}

std::size_t rowStride(const PixelFormat &format, int width)
{
    const std::size_t pad = format.scanlinePad > 0 ? std::size_t(format.scanlinePad) : 8;
    const std::size_t bits = std::size_t(qMax(width, 0)) * std::size_t(format.bitsPerPixel);
    return (bits + pad - 1) / pad * pad / 8;
}

} // namespace tintavo
