#pragma once

#include "color/rgb.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tintavo {

// Colours as the style sheets of pages and design tools take a ramp: each
// colour named after its Tailwind step (50, 100, ..., 950), #rrggbb in lower case.

// Whether `name` can stand in a custom property's name: a letter, then
// letters, digits, '-' and '_' (ASCII).
bool isRampName(const QString &name);

// "--NAME-50: #rrggbb;" a line, one line per colour.
QByteArray rampCssLines(const QString &name, const std::vector<Rgb> &colors);

// A Tailwind v4 theme: "@theme {", "  --color-NAME-50: #rrggbb;" a line and
// "}". Each run of eleven colours that is a ramp (isRamp) is named as one,
// the first NAME-50 to NAME-950, the next NAME-2-50 and so on; every other
// colour is numbered, NAME-1, NAME-2, … in order. An empty NAME leaves the
// names in Tailwind's own colour space: --color-50, --color-1.
QByteArray tailwindThemeBytes(const QString &name, const std::vector<Rgb> &colors);

// A GIMP palette whose colours are named NAME-50, NAME-100, ... as above.
QByteArray rampGimpPaletteBytes(const QString &name, const std::vector<Rgb> &colors);

// The name a Tailwind export takes from the file it is saved as: its base
// name where that is a ramp name, else "tintavo".
QString rampNameForFile(const QString &path);

} // namespace tintavo
