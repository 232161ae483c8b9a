#include "mainwin/random_fill.h"

#include "colorbox/color_box_model.h"
#include "colorbox/random_source.h"

#include <vector>

namespace tintavo {

namespace {

int freshChannel(RandomSource &random)
{
    random.seedFromClock();
    return random.nextChannel();
}

} // namespace

void RandomFill(ColorBoxModel &model, RandomSource &random)
{
    std::vector<ColorValue> colors(static_cast<size_t>(model.count()));
    for (ColorValue &c : colors) {
        const int red = freshChannel(random);
        const int green = freshChannel(random);
        const int blue = freshChannel(random);
        c = RGB(red, green, blue);
    }
    model.setColors(colors);
}

} // namespace tintavo
