#pragma once

#include <QFont>

namespace tintavo {

// The font of the whole interface. A CJK face with compact line metrics, so
// that one line of Chinese fits the 16-pixel-high boxes and the two-line
// captions of the design; Noto Sans CJK stands in where it is missing.
QFont interfaceFont();

} // namespace tintavo
