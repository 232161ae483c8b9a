#pragma once

#include <QIcon>

namespace tintavo {

// The program's icon, four colour tiles with an eyedropper across them,
// rendered at 16 to 64 pixels from the SVG the installed icons come from.
QIcon appIcon();

} // namespace tintavo
