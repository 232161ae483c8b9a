#pragma once

#include <QPixmap>

namespace tintavo {

// The program's logo as shown in the About dialog: 150 x 182 pixels.
QPixmap makeAboutLogo();

} // namespace tintavo
