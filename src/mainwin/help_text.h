#pragma once

#include <QString>

namespace tintavo {

// The text the preview area shows at start: a title line, five numbered notes
// on the program and a closed box with the studio's contacts. Lines end with
// CR LF, the last one included.
QString helpText();

// Maps printable ASCII to its full-width form (U+FF01..U+FF5E) and the space
// to the ideographic space U+3000; other characters pass unchanged.
QString toFullWidth(const QString &text);

// The box's text rows are this many characters wide between their bars.
inline constexpr int kHelpBoxRowWidth = 32;

} // namespace tintavo
