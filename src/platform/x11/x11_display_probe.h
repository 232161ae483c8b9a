#pragma once

#include <QString>

namespace tintavo::x11 {

// Whether the X server at `display` (as DISPLAY names it) accepts a connection
// from this program: one connection made and dropped at once.
bool displayAccepts(const QString &display);

} // namespace tintavo::x11
