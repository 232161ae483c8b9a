#pragma once

namespace tintavo {

class ColorBoxModel;

// Gives every swatch, in ascending order, a fresh random colour. nextCaptureSlot
// stays where it is and nothing is saved; asking the user first is the
// caller's part.
void fillAtRandom(ColorBoxModel &model);

} // namespace tintavo
