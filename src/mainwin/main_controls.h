#pragma once

#include "common/control_table.h"

#include <span>

namespace tintavo {

// The command frame Frame4 with its six buttons, and the colour-box frame Frame3.
std::span<const ControlSpec> mainWindowControls();

// The main window's design client area, the reference of its layout rule.
inline constexpr int kDesignClientWidth = 11460;
inline constexpr int kDesignClientHeight = 7170;

} // namespace tintavo
