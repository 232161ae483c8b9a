#pragma once

#include "color/color_value.h"

#include <QImage>
#include <QPoint>
#include <QRasterWindow>

#include <optional>
#include <vector>

namespace tintavo {

// A small window beside the pointer that magnifies the screen pixels around
// it, so that a one-pixel line or an anti-aliased edge can be hit exactly.
// It never takes the focus, stays out of the task bar and lets the pointer's
// clicks through. Pixels are native screen pixels: each cell stands for one of
// them and is drawn in whole device pixels, without smoothing.
//
// A plain window rather than a widget: it moves on every sample, and a widget
// asks the X server for its frame after each move, several round trips that
// would cost more than the rest of the picker's tick.
class LoupeWindow : public QRasterWindow
{
    Q_OBJECT

public:
    // The loupe shows the pixels within this distance of the pointer.
    static constexpr int kRadius = 5;
    static constexpr int kSide = 2 * kRadius + 1;
    // A cell's side in logical pixels.
    static constexpr int kCellSize = 10;

    LoupeWindow();

    // Shows `pixels`, the kSide × kSide screen pixels centred on `pointer`
    // (native desktop coordinates), row by row. A pixel that could not be
    // read or lies off every monitor shows as an empty cell. Places the loupe
    // beside the pointer and shows the window.
    void showPixels(QPoint pointer, const std::vector<std::optional<ColorValue>> &pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void renderGrid(qreal ratio);

    std::vector<std::optional<ColorValue>> m_pixels;
    QImage m_grid;
};

} // namespace tintavo
