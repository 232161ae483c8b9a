#pragma once

#include "color/vision_simulation.h"

#include <QtGlobal>

#include <array>
#include <vector>

namespace tintavo {

// simulateVision() for every pixel of a screen frame: the same result, at the
// cost of a few table look-ups a pixel rather than three powers, so that a
// 4K frame can be shown in another view while the user waits for it.
class VisionTable
{
public:
    explicit VisionTable(VisionMode mode);

    VisionMode mode() const { return m_mode; }

    // One 0xAARRGGBB pixel as seen in the mode, opaque.
    quint32 apply(quint32 pixel) const;
    Rgb apply(Rgb c) const;

    // `rows` rows of `width` pixels from `in` to `out` (which may be `in`),
    // each `stride` pixels after the one above. Screens repeat their colours:
    // a pixel like the one before costs a comparison, one seen lately a
    // look-up.
    void applyRows(const quint32 *in, qsizetype inStride, quint32 *out, qsizetype outStride,
                   int width, int rows) const;

private:
    int encode(double linear) const;

    VisionMode m_mode;
    // Each output channel's linear value, before it is divided by its row's
    // sum, is the sum of one table entry per input channel.
    std::array<std::array<std::array<double, 256>, 3>, 3> m_terms{};
    std::array<double, 3> m_rowSums{};
    // The least linear value that encodes to each channel value (and one
    // past the last, never reached), and per stretch of linear values a first
    // guess, never too high and at most one too low.
    std::array<double, 257> m_thresholds{};
    std::vector<quint8> m_guesses;
};

} // namespace tintavo
