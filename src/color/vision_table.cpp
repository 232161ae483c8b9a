#include "color/vision_table.h"

#include "color/color_space.h"

#include <cmath>

namespace tintavo {

namespace {

// Fine enough that no stretch holds two thresholds: the steepest part of the
// curve, near black, climbs 3295 channel values per unit of linear light.
constexpr int kGuessSteps = 1 << 16;
// Colours remembered while a block of rows is converted.
constexpr quint32 kCacheBits = 12;

} // namespace

VisionTable::VisionTable(VisionMode mode) : m_mode(mode)
{
    const auto [matrix, normalised] = visionModel(mode);
    for (int out = 0; out < 3; ++out) {
        const auto &row = matrix[size_t(out)];
        m_rowSums[size_t(out)] = normalised ? row[0] + row[1] + row[2] : 1.0;
        for (int in = 0; in < 3; ++in) {
            for (int v = 0; v < 256; ++v)
                m_terms[size_t(out)][size_t(in)][size_t(v)] = row[size_t(in)] * channelToLinear(v);
        }
    }
    // Each threshold is found to the last bit of a double, so that encoding
    // by comparison gives what linearToChannel() gives.
    m_thresholds[0] = -INFINITY;
    for (int v = 1; v < 256; ++v) {
        double below = m_thresholds[size_t(v - 1)] < 0 ? 0.0 : m_thresholds[size_t(v - 1)];
        double atOrAbove = 1.0;
        while (std::nextafter(below, 2.0) < atOrAbove) {
            const double mid = below + (atOrAbove - below) / 2;
            (linearToChannel(mid) >= v ? atOrAbove : below) = mid;
        }
        m_thresholds[size_t(v)] = atOrAbove;
    }
    m_thresholds[256] = INFINITY;
    m_guesses.resize(kGuessSteps + 1);
    for (int i = 0; i <= kGuessSteps; ++i)
        m_guesses[size_t(i)] = quint8(linearToChannel(double(i) / kGuessSteps));
}

int VisionTable::encode(double linear) const
{
    if (!(linear > 0))
        return 0;
    const int v = m_guesses[size_t(std::min(kGuessSteps, int(linear * kGuessSteps)))];
    return v + (linear >= m_thresholds[size_t(v + 1)]);
}

quint32 VisionTable::apply(quint32 pixel) const
{
    if (m_mode == VisionMode::Normal)
        return pixel | 0xFF000000u;
    const size_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    quint32 result = 0xFF000000u;
    for (size_t out = 0; out < 3; ++out) {
        const auto &t = m_terms[out];
        const double linear = (t[0][r] + t[1][g] + t[2][b]) / m_rowSums[out];
        result |= quint32(encode(linear)) << (16 - 8 * out);
    }
    return result;
}

Rgb VisionTable::apply(Rgb c) const
{
    const quint32 p = apply((quint32(c.red) << 16) | (quint32(c.green) << 8) | c.blue);
    return rgb(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF));
}

void VisionTable::applyRows(const quint32 *in, qsizetype inStride, quint32 *out,
                            qsizetype outStride, int width, int rows) const
{
    // Keys hold the colour and a mark that the entry is filled.
    std::vector<quint64> cache(size_t(1) << kCacheBits, 0);
    quint32 lastIn = 0, lastOut = apply(0u);
    for (int y = 0; y < rows; ++y) {
        const quint32 *from = in + y * inStride;
        quint32 *to = out + y * outStride;
        for (int x = 0; x < width; ++x) {
            const quint32 p = from[x] & 0xFFFFFFu;
            if (p != lastIn) {
                lastIn = p;
                quint64 &entry = cache[(p * 2654435761u) >> (32 - kCacheBits)];
                if (quint32(entry >> 32) != (p | 0x1000000u))
                    entry = quint64(p | 0x1000000u) << 32 | apply(p);
                lastOut = quint32(entry);
            }
            to[x] = lastOut;
        }
    }
}

} // namespace tintavo
