#pragma once

#include <QString>

namespace tintavo {

class ColorPair;

// The copyable colour-code line. It shows the channel boxes' texts verbatim,
// unvalidated, so the line always says exactly what the boxes hold.
QString colorCodeLine(const ColorPair &pair);

} // namespace tintavo
