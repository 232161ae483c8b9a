#pragma once

#include <QString>
#include <QtGlobal>

namespace tintavo {

// The swatch count the settings dialog reads from its count box when none
// can be read: one more than the factory default, so that a bad entry is
// still visible as such in the settings file.
inline constexpr qint32 kUnreadableCount = 65;

// Reads the count box: spaces or tabs around an optional sign, ASCII digits
// with an optional fraction ("12.", ".5") and an optional exponent. The
// number is rounded to the nearest integer, an exact half to the even
// neighbour, and held to the 32-bit range. Anything else, the empty text
// included, gives kUnreadableCount.
qint32 countFromText(const QString &text);

} // namespace tintavo
