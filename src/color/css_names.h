#pragma once

#include "color/rgb.h"

#include <QStringList>

#include <optional>

namespace tintavo {

// The named colours of CSS Color 4 (148 names, some sharing a value).
int cssNamedColorCount();

// Every name CSS gives exactly this colour, alphabetically ("gray", "grey");
// empty when it has none.
QStringList cssNamesOf(Rgb c);

// The named colour nearest to `c` by Euclidean distance in OKLab (ΔE_OK; CSS
// Color 4 takes 0.02 as one just-noticeable difference). Of names at the
// same distance, the first alphabetically.
struct NearestCssName
{
    QString name;
    double deltaE = 0;
};
NearestCssName nearestCssName(Rgb c);

// The colour of a name, whatever its case; nothing for a name CSS does not have.
std::optional<Rgb> cssNamedColor(QStringView name);

} // namespace tintavo
