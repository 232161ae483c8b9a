#pragma once

#include "color/rgb.h"

class QWidget;

namespace tintavo {

// Shows a text box's text in `text` on `background`. A rule of the box's own
// style sheet carries the colours, as a palette change does not reach the
// screen under the application's style sheet. The rule names the box's class,
// so its scroll bars keep their look.
void showTextColors(QWidget *box, Rgb text, Rgb background);

} // namespace tintavo
