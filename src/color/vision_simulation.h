#pragma once

#include "color/rgb.h"

#include <QString>

#include <array>

namespace tintavo {

// How a reader with a colour-vision deficiency sees a colour.
enum class VisionMode
{
    Normal,
    Protanomaly,   // weak red cones
    Protanopia,    // no red cones
    Deuteranomaly, // weak green cones
    Deuteranopia,  // no green cones
    Tritanopia,    // no blue cones
    Achromatopsia, // no colour at all
};

inline constexpr std::array kVisionModes{VisionMode::Normal,       VisionMode::Protanomaly,
                                         VisionMode::Protanopia,   VisionMode::Deuteranomaly,
                                         VisionMode::Deuteranopia, VisionMode::Tritanopia,
                                         VisionMode::Achromatopsia};

// The short Chinese name for menus and the preview's marker, e.g. "红色盲".
QString visionModeName(VisionMode mode);

// `c` as seen in `mode`; Normal gives `c` back unchanged.
Rgb simulateVision(Rgb c, VisionMode mode);

// What simulateVision() does in linear light: each output channel is a row of
// this matrix applied to the input's linear channels, divided by the row's
// sum where `normalised`. The identity for Normal; for Achromatopsia every row
// holds the luminance weights, not normalised.
using VisionMatrix = std::array<std::array<double, 3>, 3>;
struct VisionModel
{
    VisionMatrix matrix;
    bool normalised;
};
VisionModel visionModel(VisionMode mode);

} // namespace tintavo
