#pragma once

#include "color/rgb.h"
#include "picker/loupe_cells.h"

#include <QImage>
#include <QPoint>
#include <QRasterWindow>
#include <QRect>

#include <optional>

class QPainter;
class QScreen;
#include <vector>

namespace tintavo {

// What a loupe shows: the pixels around the pointer (native desktop
// coordinates), row by row, with the middle `sampleSize` × `sampleSize` cells
// outlined and `sampled`, the colour they give, as a code under the grid.
// `converted` marks the code as a colour-managed value rather than the
// screen's own.
struct LoupeContent
{
    QPoint pointer;
    // `side` × `side` of them.
    std::vector<std::optional<Rgb>> pixels;
    int side = kDefaultLoupeCells;
    int sampleSize = 1;
    std::optional<Rgb> sampled;
    bool converted = false;
};

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
    // The loupe shows at first the pixels within this distance of the pointer.
    static constexpr int kRadius = kDefaultLoupeCells / 2;
    static constexpr int kSide = kDefaultLoupeCells;
    // A cell's side in logical pixels at kSide cells; with more cells they
    // are smaller, so that the loupe stays about as large.
    static constexpr int kCellSize = 10;

    // `monitors`: the desktop's monitors in native pixels as the display
    // server has them; empty to go by the toolkit's screens.
    explicit LoupeWindow(const QList<QRect> &monitors = {});
    void setMonitors(const QList<QRect> &monitors);

    // Shows `pixels`, the n × n screen pixels centred on `pointer`
    // (native desktop coordinates), row by row, with the middle `sampleSize`
    // × `sampleSize` cells outlined and `sampled`, the colour they give, as a
    // code under the grid. A pixel that could not be read or lies off every
    // monitor shows as a hatched cell. Places the loupe beside the pointer
    // and shows the window.
    // `converted` marks the code as a colour-managed value rather than the
    // screen's own.
    void showPixels(QPoint pointer, const std::vector<std::optional<Rgb>> &pixels, int sampleSize,
                    std::optional<Rgb> sampled, bool converted = false);

    // Moves the loupe beside `pointer`, off the pixels it would show there,
    // keeping what it shows.
    void moveBeside(QPoint pointer);

    // Where the loupe was last placed, in native desktop pixels.
    QRect placedAt() const { return m_placed; }

    // The loupe's size in device pixels on a monitor of this scale, with
    // `side` cells a side.
    static QSize deviceSize(qreal ratio, int side = kSide);
    // Paints `content` as the loupe does into `area` (logical pixels) of a
    // surface painted at `ratio` device pixels a logical one.
    static void paint(QPainter &p, const QRectF &area, const LoupeContent &content, qreal ratio);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QScreen *screenAt(QPoint native) const;

    LoupeContent m_content;
    QRect m_placed;
    QList<QRect> m_monitors;
};

} // namespace tintavo
