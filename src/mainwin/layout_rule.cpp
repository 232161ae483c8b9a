#include "mainwin/layout_rule.h"

#include <limits>

namespace tintavo {

namespace {

// A window system refuses a negative extent; so does a value it cannot hold.
void assignExtent(int &target, qint64 value)
{
    if (value >= 0 && value <= std::numeric_limits<int>::max())
        target = static_cast<int>(value);
}

void assignPosition(int &target, qint64 value)
{
    if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())
        target = static_cast<int>(value);
}

} // namespace

MainLayout designLayout()
{
    MainLayout l;
    l.Frame1 = {120, 60, 11235, 4155};
    l.effect_text = {90, 195, 10995, 3435};
    l.txtColorInfo = {90, 3690, 10740, 315};
    l.fg_frame = {105, 4320, 7095, 885};
    l.bg_frame = {105, 5220, 7110, 900};
    l.Frame4 = {7455, 4320, 3900, 1755};
    l.Frame3 = {105, 6150, 11280, 945};
    return l;
}

ResizeResult resizedLayout(qint32 clientWidth, qint32 clientHeight, const MainLayout &current)
{
    ResizeResult result{current, 0};
    MainLayout &l = result.layout;

    const qint64 dw = static_cast<qint64>(clientWidth) - kDesignClientWidth;
    const qint64 dh = static_cast<qint64>(clientHeight) - kDesignClientHeight;

    assignExtent(l.Frame1.width, dw + 11235);
    assignExtent(l.Frame1.height, dh + 4125);
    assignExtent(l.effect_text.width, dw + 10995);
    assignExtent(l.effect_text.height, dh + 3765);

    assignPosition(l.fg_frame.top, qint64(l.Frame1.top) + l.Frame1.height + 60);
    assignPosition(l.bg_frame.top, qint64(l.fg_frame.top) + l.fg_frame.height + 60);
    l.Frame4.top = l.fg_frame.top;

    assignPosition(l.Frame3.top, qint64(l.bg_frame.top) + l.bg_frame.height + 60);
    assignExtent(l.Frame3.width, l.Frame1.width);

    assignExtent(l.txtColorInfo.width, qint64(l.effect_text.width) - 240);
    // The code line covers the lower part of the preview: its top is the
    // preview's height, not the preview's bottom edge.
    l.txtColorInfo.top = l.effect_text.height;

    result.colorBoxWidth = l.Frame3.width;
    return result;
}

} // namespace tintavo
