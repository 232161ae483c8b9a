#pragma once

#include <QIcon>

namespace tintavo {

// Makes the program's icon, four colour tiles with an eyedropper across
// them, the icon of all its windows. It is drawn at build time from the SVG
// the installed icons come from.
void installAppIcon();

} // namespace tintavo
