#include "picker/loupe_window.h"

#include "color/qt_color.h"
#include "picker/loupe_placement.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace tintavo {

namespace {

constexpr int kCodeHeight = 18; // logical pixels under the grid for the code
const QColor kFrameColor(0x20, 0x20, 0x20);
constexpr QRgb kGridLine = 0xFF000000;
// The outline of the sampled cells: a light band over the grid lines and a
// dark one inside it, so that it stands out on light and on dark pixels
// alike and never looks like the grid itself.
constexpr QRgb kOutlineOuter = 0xFFFFFFFF;
constexpr QRgb kOutlineInner = 0xFF000000;

// Native pixels map to logical ones per monitor: the toolkit keeps each
// monitor's top-left corner and divides the distance from it by the monitor's
// scale factor (so multiplying back may miss the last pixel or so).
QRect nativeGeometry(const QScreen *screen)
{
    const QRect g = screen->geometry();
    return {g.topLeft(), g.size() * screen->devicePixelRatio()};
}

QList<QRect> toolkitMonitors()
{
    QList<QRect> monitors;
    for (const QScreen *s : QGuiApplication::screens())
        monitors.append(nativeGeometry(s));
    return monitors;
}

QPoint nativeToLogical(QPoint native, const QScreen *screen)
{
    const QPoint origin = screen->geometry().topLeft();
    const qreal ratio = screen->devicePixelRatio();
    const QPointF d = QPointF(native - origin) / ratio;
    return origin + QPoint(qRound(d.x()), qRound(d.y()));
}

int cellPixels(qreal ratio, int side)
{
    return qMax(1, qRound(LoupeWindow::kCellSize * LoupeWindow::kSide * ratio / side));
}

void fillFrame(QImage &image, const QRect &outer, int width, QRgb colour)
{
    QPainter p(&image);
    const QColor c = QColor::fromRgb(colour);
    p.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), c);
    p.fillRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width), c);
    p.fillRect(QRect(outer.left(), outer.top(), width, outer.height()), c);
    p.fillRect(QRect(outer.right() - width + 1, outer.top(), width, outer.height()), c);
}

QImage renderGrid(const LoupeContent &content, qreal ratio);

} // namespace

QSize LoupeWindow::deviceSize(qreal ratio, int side)
{
    const int extent = side * cellPixels(ratio, side) + 1;
    return {extent, extent + qRound(kCodeHeight * ratio)};
}

LoupeWindow::LoupeWindow(const QList<QRect> &monitors)
    : m_monitors(monitors.isEmpty() ? toolkitMonitors() : monitors)
{
    setObjectName(QStringLiteral("Loupe"));
    setFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
             Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus |
             Qt::X11BypassWindowManagerHint);
}

void LoupeWindow::setMonitors(const QList<QRect> &monitors)
{
    m_monitors = monitors.isEmpty() ? toolkitMonitors() : monitors;
}

void LoupeWindow::showPixels(QPoint pointer, const std::vector<std::optional<Rgb>> &pixels,
                             int sampleSize, std::optional<Rgb> sampled, bool converted)
{
    // The root window spans every monitor's bounding box; what lies between
    // monitors is no screen pixel at all.
    const QList<QRect> &monitors = m_monitors;
    const int side = std::max(1, int(std::lround(std::sqrt(double(pixels.size())))));
    m_content = {.pointer = pointer,
                 .pixels = pixels,
                 .side = side,
                 .sampleSize = std::clamp(sampleSize, 1, side),
                 .sampled = sampled,
                 .converted = converted};
    m_content.pixels.resize(size_t(side) * size_t(side));
    for (int i = 0; i < side * side; ++i) {
        const QPoint at = pointer + QPoint(i % side - side / 2, i / side - side / 2);
        if (std::none_of(monitors.cbegin(), monitors.cend(),
                         [at](const QRect &m) { return m.contains(at); }))
            m_content.pixels[i].reset();
    }
    moveBeside(pointer);
    if (!isVisible()) {
        // Above whatever was shown while it was away, a frozen frame too.
        show();
        raise();
    }
    update();
}

const QScreen *LoupeWindow::screenAt(QPoint native) const
{
    // A monitor's screen is the one sharing its top-left corner.
    for (const QRect &m : m_monitors) {
        if (!m.contains(native))
            continue;
        for (QScreen *s : QGuiApplication::screens()) {
            if (s->geometry().topLeft() == m.topLeft())
                return s;
        }
    }
    for (const QScreen *s : QGuiApplication::screens()) {
        if (nativeGeometry(s).contains(native))
            return s;
    }
    return QGuiApplication::primaryScreen();
}

void LoupeWindow::moveBeside(QPoint pointer)
{
    const QList<QRect> &monitors = m_monitors;
    // Whole device pixels per cell on the monitor the loupe lands on, which
    // near a seam may not be the pointer's: sized for the pointer's first,
    // and again for the other monitor's scale when it lands there.
    const QScreen *target = screenAt(pointer);
    const int side = m_content.side, radius = side / 2;
    QRect native =
        loupePlacement(pointer, radius, deviceSize(target->devicePixelRatio(), side), monitors);
    if (const QScreen *other = screenAt(native.center()); other != target) {
        target = other;
        native =
            loupePlacement(pointer, radius, deviceSize(target->devicePixelRatio(), side), monitors);
    }
    m_placed = native;
    const qreal ratio = target->devicePixelRatio();
    const QSize size(qCeil(native.width() / ratio), qCeil(native.height() / ratio));
    if (size != this->size())
        resize(size);
    const QPoint at = nativeToLogical(native.topLeft(), target);
    if (at != position())
        setPosition(at);
}

namespace {

QImage renderGrid(const LoupeContent &content, qreal ratio)
{
    const int cells = content.side;
    const int cell = cellPixels(ratio, cells);
    const int side = cells * cell + 1;
    // Painted at one device pixel a unit, and only then told its scale, so
    // that every line falls on the pixel it is meant for.
    QImage grid(side, side, QImage::Format_RGB32);
    grid.fill(kGridLine);
    for (int row = 0; row < cells; ++row) {
        for (int col = 0; col < cells; ++col) {
            const std::optional<Rgb> c = content.pixels[row * cells + col];
            const QRgb rgb = c ? toQColor(*c).rgb() : 0;
            for (int y = row * cell + 1; y < (row + 1) * cell; ++y) {
                auto *line = reinterpret_cast<QRgb *>(grid.scanLine(y));
                for (int x = col * cell + 1; x < (col + 1) * cell; ++x) {
                    // A pixel off every monitor is a hatched cell, never a
                    // colour that is not on the screen.
                    line[x] = c ? rgb : (((x + y) / 2) % 2 ? 0xFF707070u : 0xFF909090u);
                }
            }
        }
    }
    // The outer band covers the grid lines around the sampled cells.
    const int band = qMax(1, qRound(ratio));
    const int first = (cells - content.sampleSize) / 2 * cell;
    const QRect ring(first, first, content.sampleSize * cell + 1, content.sampleSize * cell + 1);
    fillFrame(grid, ring, band, kOutlineOuter);
    fillFrame(grid, ring.adjusted(band, band, -band, -band), band, kOutlineInner);
    grid.setDevicePixelRatio(ratio);
    return grid;
}

} // namespace

void LoupeWindow::paint(QPainter &p, const QRectF &area, const LoupeContent &content, qreal ratio)
{
    p.fillRect(area, kFrameColor);
    if (content.side < 1 || content.pixels.size() != size_t(content.side) * size_t(content.side))
        return;
    const QImage grid = renderGrid(content, ratio);
    p.drawImage(area.topLeft(), grid);
    QString code = content.sampled ? toQColor(*content.sampled).name(QColor::HexRgb).toUpper()
                                   : QStringLiteral("—");
    if (content.sampled && content.converted) // from the monitor's profile, not the raw pixel
        code += QStringLiteral(" ICC");
    p.setPen(Qt::white);
    const qreal gridHeight = grid.height() / grid.devicePixelRatio();
    p.drawText(
        QRectF(area.left(), area.top() + gridHeight, area.width(), area.height() - gridHeight),
        Qt::AlignCenter, code);
}

void LoupeWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Drawn for the scale this window is painted at, whatever was guessed
    // when it was placed.
    paint(p, QRectF(QPointF(), size()), m_content, devicePixelRatio());
}

} // namespace tintavo
