#pragma once

#include <QIcon>

namespace tintavo {

// The program's icon, four colour tiles with an eyedropper across them,
// drawn at build time from the SVG the installed icons come from, at
// every size they are installed at.
QIcon appIcon();

} // namespace tintavo
