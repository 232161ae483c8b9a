#pragma once

#include "color/rgb.h"

namespace tintavo {

// The system's colour-choice dialog, as the colour buttons use it. One object
// serves both buttons and remembers the colour the user last confirmed.
class ColorChooser
{
public:
    virtual ~ColorChooser() = default;

    // Shows the modal dialog; true when the user confirmed a colour, false
    // when the dialog was cancelled or closed.
    virtual bool choose() = 0;

    // The colour last confirmed (black before the first confirmation).
    virtual Rgb chosenColor() const = 0;
};

} // namespace tintavo
