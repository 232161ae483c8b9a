#pragma once

#include <QPoint>
#include <optional>

namespace tintavo {

// The arrow keys step the pointer, or the crosshair on a frame, by one
// device pixel, wherever a pick is made.
struct ArrowStep
{
    Qt::Key key;
    QPoint step;
    const char *arrow;
};
inline constexpr ArrowStep kArrowSteps[] = {
    {Qt::Key_Left, {-1, 0}, "←"},
    {Qt::Key_Right, {1, 0}, "→"},
    {Qt::Key_Up, {0, -1}, "↑"},
    {Qt::Key_Down, {0, 1}, "↓"},
};

// The step `key` makes; none for a key that is no arrow.
inline std::optional<QPoint> arrowStep(Qt::Key key)
{
    for (const ArrowStep &arrow : kArrowSteps) {
        if (arrow.key == key)
            return arrow.step;
    }
    return std::nullopt;
}

} // namespace tintavo
