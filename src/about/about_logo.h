#pragma once

#include <QPixmap>

namespace tintavo {

// The program's logo as shown in the About dialog: 150 x 182 logical pixels,
// drawn at `devicePixelRatio` device pixels to each, so that it is sharp on a
// scaled screen rather than a small picture blown up.
QPixmap makeAboutLogo(qreal devicePixelRatio = 1);

} // namespace tintavo
