#include "colorbox/random_fill.h"

#include "colorbox/color_box_model.h"
#include "colorbox/random_color.h"

#include <algorithm>
#include <vector>

namespace tintavo {

void fillAtRandom(ColorBoxModel &model)
{
    std::vector<Rgb> colors(static_cast<size_t>(model.count()));
    std::generate(colors.begin(), colors.end(), randomColor);
    model.setColors(colors, QStringLiteral("随机存储颜色"));
}

} // namespace tintavo
