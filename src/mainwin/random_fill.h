#pragma once

namespace tintavo {

class ColorBoxModel;
class RandomSource;

// Gives every swatch, in ascending order, a fresh random colour: red, green and
// blue drawn in that order, the source re-seeded from the clock before each
// single draw. lPicIndex stays where it is and nothing is saved; asking the
// user first is the caller's part.
void RandomFill(ColorBoxModel &model, RandomSource &random);

} // namespace tintavo
