#pragma once

#include <QFont>

namespace tintavo {

// The font of the whole interface. A CJK face with compact line metrics, so
// that one line of Chinese fits the 16-pixel-high boxes and the two-line
// captions of the design; Noto Sans CJK stands in where it is missing.
QFont interfaceFont();

// The same face a size smaller, for the few places whose design leaves a
// line of Chinese less than the interface font needs: the picker's read-outs
// and the settings dialog's check boxes.
QFont compactInterfaceFont();

} // namespace tintavo
