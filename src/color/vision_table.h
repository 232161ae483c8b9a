#pragma once

#include "color/vision_simulation.h"

#include <QtGlobal>

#include <array>

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

    // `count` pixels from `in` to `out` (which may be `in`). Screens hold runs
    // of one colour: a pixel like the one before costs a comparison.
    void applyRow(const quint32 *in, quint32 *out, qsizetype count) const;

private:
    int encode(double linear) const;

    VisionMode m_mode;
    // Each output channel's linear value, before it is divided by its row's
    // sum, is the sum of one table entry per input channel.
    std::array<std::array<std::array<double, 256>, 3>, 3> m_terms{};
    std::array<double, 3> m_rowSums{};
    // The least linear value that encodes to each channel value, and a first
    // guess of the value per stretch of linear values, never too high.
    std::array<double, 256> m_thresholds{};
    std::array<quint8, 4097> m_guesses{};
};

} // namespace tintavo
