#include "color/vision_simulation.h"

#include "color/color_space.h"

namespace tintavo {

namespace {

using Matrix = VisionMatrix;

// Machado, Oliveira and Fernandes, "A Physiologically-based Model for
// Simulation of Color Vision Deficiency", IEEE TVCG 15(6), 2009. The matrices
// are the ones the authors publish with the paper for linear sRGB: severity 1.0
// for the dichromats, 0.6 for the anomalous trichromats. Each row sums to 1
// within the six published decimals; greys then come back grey.
constexpr Matrix kProtanomaly{{{0.385450, 0.769005, -0.154455},
                               {0.100526, 0.829802, 0.069673},
                               {-0.007442, -0.022190, 1.029632}}};
constexpr Matrix kProtanopia{{{0.152286, 1.052583, -0.204868},
                              {0.114503, 0.786281, 0.099216},
                              {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranomaly{{{0.547494, 0.607765, -0.155259},
                                 {0.181692, 0.781742, 0.036566},
                                 {-0.010410, 0.027275, 0.983136}}};
constexpr Matrix kDeuteranopia{{{0.367322, 0.860646, -0.227968},
                                {0.280085, 0.672501, 0.047413},
                                {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kTritanopia{{{1.255528, -0.076749, -0.178779},
                              {-0.078411, 0.930809, 0.147602},
                              {0.004733, 0.691367, 0.303900}}};

// Without cones only the rods' brightness is left: the grey of the colour's
// relative luminance (the sRGB / Rec. 709 weights).
constexpr Matrix kAchromatopsia{
    {{0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}}};
constexpr Matrix kIdentity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

} // namespace

VisionModel visionModel(VisionMode mode)
{
    switch (mode) {
    case VisionMode::Normal:
        return {kIdentity, false};
    case VisionMode::Protanomaly:
        return {kProtanomaly, true};
    case VisionMode::Protanopia:
        return {kProtanopia, true};
    case VisionMode::Deuteranomaly:
        return {kDeuteranomaly, true};
    case VisionMode::Deuteranopia:
        return {kDeuteranopia, true};
    case VisionMode::Tritanopia:
        return {kTritanopia, true};
    case VisionMode::Achromatopsia:
        return {kAchromatopsia, false};
    }
    return {kIdentity, false};
}

QString visionModeName(VisionMode mode)
{
    switch (mode) {
    case VisionMode::Normal:
        return QStringLiteral("正常");
    case VisionMode::Protanomaly:
        return QStringLiteral("红色弱");
    case VisionMode::Protanopia:
        return QStringLiteral("红色盲");
    case VisionMode::Deuteranomaly:
        return QStringLiteral("绿色弱");
    case VisionMode::Deuteranopia:
        return QStringLiteral("绿色盲");
    case VisionMode::Tritanopia:
        return QStringLiteral("蓝色盲");
    case VisionMode::Achromatopsia:
        return QStringLiteral("全色盲");
    }
    return {};
}

Rgb simulateVision(Rgb c, VisionMode mode)
{
    if (mode == VisionMode::Normal)
        return c;
    const auto [m, normalised] = visionModel(mode);
    const LinearRgb in = toLinear(c);
    std::array<double, 3> out{};
    for (int i = 0; i < 3; ++i) {
        // Divided by the row's sum, which the rounding of the published
        // figures leaves a millionth off 1, so that a grey keeps its exact level.
        const double sum = normalised ? m[i][0] + m[i][1] + m[i][2] : 1.0;
        out[i] = (m[i][0] * in.r + m[i][1] * in.g + m[i][2] * in.b) / sum;
    }
    return fromLinear({out[0], out[1], out[2]});
}

} // namespace tintavo
