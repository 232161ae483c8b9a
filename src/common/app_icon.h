#pragma once

#include <QIcon>

namespace tintavo {

// The program's icon, drawn rather than shipped: four overlapping colour tiles
// with an eyedropper across them, at 16 and 32 pixels.
QIcon appIcon();

} // namespace tintavo
