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

} // namespace tintavo
