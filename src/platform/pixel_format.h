#pragma once

#include "color/rgb.h"

#include <QtGlobal>
#include <cstddef>
#include <optional>

namespace tintavo {

// How one pixel of a true-colour screen image is laid out: its size, the byte
// order of the image data and where each channel sits in the pixel value.
struct PixelFormat
{
    int bitsPerPixel = 32; // 8, 16, 24 or 32
    bool msbFirst = false; // image bytes most significant first
    quint32 redMask = 0x00FF0000u;
    quint32 greenMask = 0x0000FF00u;
    quint32 blueMask = 0x000000FFu;
    int scanlinePad = 32; // bits each row of an image is padded to
};

// True when the format can be decoded: a supported pixel size and three
// non-empty channel masks that fit in it.
bool isDecodable(const PixelFormat &format);

// The colour of the first pixel of image data, each channel scaled to 0..255
// whatever its width; nothing when the format is not decodable or the data is
// too short.
std::optional<Rgb> decodePixel(const PixelFormat &format, const quint8 *data, std::size_t size);

// Bytes from one row of an image `width` pixels wide to the next.
std::size_t rowStride(const PixelFormat &format, int width);

} // namespace tintavo
