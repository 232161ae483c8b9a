#pragma once

#include <QString>
#include <QtGlobal>

namespace tintavo {

// The swatch count the settings dialog reads from its count box when none
// can be read: one more than the factory default, so that a bad entry is
// still visible as such in the settings file.
inline constexpr qint32 kUnreadableCount = 65;

// Reads the count box. Accepted: blanks (spaces, tabs) around a number made
// of an optional sign, decimal digits with an optional fraction ("12.", ".5"
// and "12.5" all count) and an optional exponent ("e" or "E", optional sign,
// at least one digit). The number is rounded to the nearest integer, an exact
// half to the even neighbour, computed on the decimal digits themselves so
// that long inputs round exactly. Beyond the 32-bit range the result is
// clamped to it (the start-up bounds the swatch count anyway). Anything else,
// the empty text included, gives kUnreadableCount.
qint32 countFromText(const QString &text);

} // namespace tintavo
