#pragma once

#include "common/control_table.h"

#include <span>

namespace tintavo {

// The preview frame (Frame1 with effect_text and txtColorInfo) and the two
// editor frames with their eighteen channel editors, as designed.
std::span<const ControlSpec> colorEditingControls();

} // namespace tintavo
