#pragma once

#include "color/rgb.h"

class QWidget;

namespace tintavo {

// Shows a text box's text in `text` on `background`, in every state of the
// window, active or not.
void showTextColors(QWidget *box, Rgb text, Rgb background);

} // namespace tintavo
