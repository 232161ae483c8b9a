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

ResizeResult resizedLayout(qint32 clientWidth, qint32 clientHeight, const MainLayout &current)
{
    ResizeResult result{current, 0};
    MainLayout &l = result.layout;

    const qint64 dw = static_cast<qint64>(clientWidth) - kDesignClientWidth;
    const qint64 dh = static_cast<qint64>(clientHeight) - kDesignClientHeight;

    assignExtent(l.previewFrame.width, dw + 11235);
    assignExtent(l.previewFrame.height, dh + 4125);
    assignExtent(l.preview.width, dw + 10995);
    assignExtent(l.preview.height, dh + 3765);

    assignPosition(l.foregroundFrame.top, qint64(l.previewFrame.top) + l.previewFrame.height + 60);
    assignPosition(l.backgroundFrame.top,
                   qint64(l.foregroundFrame.top) + l.foregroundFrame.height + 60);
    l.commandFrame.top = l.foregroundFrame.top;

    assignPosition(l.colorBoxFrame.top,
                   qint64(l.backgroundFrame.top) + l.backgroundFrame.height + 60);
    assignExtent(l.colorBoxFrame.width, l.previewFrame.width);

    assignExtent(l.codeLine.width, qint64(l.preview.width) - 240);
    // The code line covers the lower part of the preview: its top is the
    // preview's height, not the preview's bottom edge.
    l.codeLine.top = l.preview.height;

    result.colorBoxWidth = l.colorBoxFrame.width;
    return result;
}

} // namespace tintavo
