#pragma once

#include "common/control_table.h"

#include <span>

namespace tintavo {

// The command frame Frame4 with its six buttons, and the colour-box frame Frame3.
std::span<const ControlSpec> mainWindowControls();

} // namespace tintavo
