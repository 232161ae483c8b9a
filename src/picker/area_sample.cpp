#include "picker/area_sample.h"

#include <algorithm>

namespace tintavo {

int sampleSizeFromSetting(int stored)
{
    return std::ranges::find(kSampleSizes, stored) != std::end(kSampleSizes) ? stored : 1;
}

std::optional<Rgb> meanColor(const std::vector<std::optional<Rgb>> &square, int side, int size)
{
    const int first = (side - size) / 2;
    if (size < 1 || first < 0 || std::size_t(side) * std::size_t(side) > square.size())
        return std::nullopt;
    long sums[3] = {0, 0, 0};
    long count = 0;
    for (int row = first; row < first + size; ++row) {
        for (int col = first; col < first + size; ++col) {
            const std::optional<Rgb> c = square[std::size_t(row * side + col)];
            if (!c)
                continue;
            for (int channel = 0; channel < 3; ++channel)
                sums[channel] += c->channel(channel);
            ++count;
        }
    }
    if (count == 0)
        return std::nullopt;
    // Half up: floor(sum / count + 1/2), in integers.
    const auto mean = [count](long sum) { return int((2 * sum + count) / (2 * count)); };
    return rgb(mean(sums[0]), mean(sums[1]), mean(sums[2]));
}

std::vector<std::optional<Rgb>> pixelSquare(const QImage &picture, QPoint centre, int radius)
{
    std::vector<std::optional<Rgb>> square;
    square.reserve(std::size_t(2 * radius + 1) * std::size_t(2 * radius + 1));
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y) {
        for (int x = centre.x() - radius; x <= centre.x() + radius; ++x) {
            if (!picture.valid(x, y)) {
                square.emplace_back();
                continue;
            }
            const QRgb pixel = reinterpret_cast<const QRgb *>(picture.constScanLine(y))[x];
            square.push_back(rgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
        }
    }
    return square;
}

std::optional<Rgb> pickedPictureColor(const QImage &picture, QPoint at, int size)
{
    if (!picture.valid(at))
        return std::nullopt;
    return meanColor(pixelSquare(picture, at, size / 2), size / 2 * 2 + 1, size);
}

} // namespace tintavo
