#pragma once

#include "color/rgb.h"

#include <QAccessible>
#include <QString>

namespace tintavo {

class SwatchView;

// What a screen reader says for swatch `index`: "颜色 5：#CD890F", or "颜色 5：空"
// for white, which marks an empty swatch; the swatch the next capture writes
// adds "，下次取色存到这里".
QString swatchAccessibleName(int index, Rgb color, bool captureSlot = false);

// The swatches are painted, not widgets, so without this a screen reader would
// find one nameless picture. Lets the accessibility framework see SwatchView as
// a list with one item per swatch; installed once per program.
void installSwatchAccessibility();

// Tells assistive technologies that swatch `index` of `view` changed as
// `change` says (its name, its selection or the focus).
void announceSwatch(SwatchView *view, int index, QAccessible::Event change);

} // namespace tintavo
