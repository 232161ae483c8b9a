#include "picker/loupe_window.h"

#include "common/qt_color.h"
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

// Native pixels map to logical ones per monitor: the toolkit keeps each
// monitor's top-left corner and divides the distance from it by the monitor's
// scale factor.
QRect nativeGeometry(const QScreen *screen)
{
    const QRect g = screen->geometry();
    return {g.topLeft(), g.size() * screen->devicePixelRatio()};
}

const QScreen *screenAtNative(QPoint native)
{
    for (const QScreen *s : QGuiApplication::screens()) {
        if (nativeGeometry(s).contains(native))
            return s;
    }
    return QGuiApplication::primaryScreen();
}

QPoint nativeToLogical(QPoint native, const QScreen *screen)
{
    const QPoint origin = screen->geometry().topLeft();
    const qreal ratio = screen->devicePixelRatio();
    const QPointF d = QPointF(native - origin) / ratio;
    return origin + QPoint(qRound(d.x()), qRound(d.y()));
}

bool isLight(ColorValue c)
{
    const QColor q = toQColor(c);
    return q.red() * 299 + q.green() * 587 + q.blue() * 114 >= 128 * 1000;
}

} // namespace

LoupeWindow::LoupeWindow()
{
    setObjectName(QStringLiteral("Loupe"));
    setFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
             Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus |
             Qt::X11BypassWindowManagerHint);
}

void LoupeWindow::showPixels(QPoint pointer,
                             const std::vector<std::optional<ColorValue>> &pixels)
{
    QList<QRect> monitors;
    for (const QScreen *s : QGuiApplication::screens())
        monitors.append(nativeGeometry(s));
    // The root window spans every monitor's bounding box; what lies between
    // monitors is no screen pixel at all.
    m_pixels = pixels;
    m_pixels.resize(kSide * kSide);
    for (int i = 0; i < kSide * kSide; ++i) {
        const QPoint at = pointer + QPoint(i % kSide - kRadius, i / kSide - kRadius);
        if (std::none_of(monitors.cbegin(), monitors.cend(),
                         [at](const QRect &m) { return m.contains(at); }))
            m_pixels[i].reset();
    }
    const QScreen *screen = screenAtNative(pointer);
    const qreal ratio = screen->devicePixelRatio();
    renderGrid(ratio);

    // Whole device pixels per cell: the window is sized in device pixels and
    // placed in native ones, then handed to the toolkit in logical ones.
    const QSize device(m_grid.width(), m_grid.height() + qRound(kCodeHeight * ratio));
    const QRect native = loupePlacement(pointer, kRadius, device, monitors);
    const QScreen *target = screenAtNative(native.center());
    const qreal targetRatio = target->devicePixelRatio();
    const QSize size(qCeil(device.width() / targetRatio), qCeil(device.height() / targetRatio));
    if (size != this->size())
        resize(size);
    const QPoint at = nativeToLogical(native.topLeft(), target);
    if (at != position())
        setPosition(at);
    if (!isVisible())
        show();
    update();
}

void LoupeWindow::renderGrid(qreal ratio)
{
    const int cell = qMax(1, qRound(kCellSize * ratio));
    const int side = kSide * cell + 1;
    if (m_grid.width() != side)
        m_grid = QImage(side, side, QImage::Format_RGB32);
    m_grid.fill(Qt::black); // the grid lines
    for (int row = 0; row < kSide; ++row) {
        for (int col = 0; col < kSide; ++col) {
            const std::optional<ColorValue> c = m_pixels[row * kSide + col];
            const QRgb rgb = c ? toQColor(*c).rgb() : 0;
            for (int y = row * cell + 1; y < (row + 1) * cell; ++y) {
                auto *line = reinterpret_cast<QRgb *>(m_grid.scanLine(y));
                for (int x = col * cell + 1; x < (col + 1) * cell; ++x) {
                    // A pixel off every monitor is a hatched cell, never a
                    // colour that is not on the screen.
                    line[x] = c ? rgb : (((x + y) / 2) % 2 ? 0xFF707070u : 0xFF909090u);
                }
            }
        }
    }
    const std::optional<ColorValue> centre = m_pixels[kRadius * kSide + kRadius];
    QPainter p(&m_grid);
    const int pen = qMax(1, qRound(ratio));
    p.setPen(QPen(centre && isLight(*centre) ? Qt::black : Qt::white, pen,
                  Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    const int o = kRadius * cell;
    p.drawRect(QRectF(o + pen / 2.0, o + pen / 2.0, cell - pen + 1, cell - pen + 1));
    p.end();
    m_grid.setDevicePixelRatio(ratio);
}

void LoupeWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(QRect(QPoint(), size()), kFrameColor);
    if (m_grid.isNull())
        return;
    p.drawImage(QPoint(0, 0), m_grid);
    const std::optional<ColorValue> centre = m_pixels[kRadius * kSide + kRadius];
    const QString code =
        centre ? toQColor(*centre).name(QColor::HexRgb).toUpper() : QStringLiteral("—");
    p.setPen(Qt::white);
    const qreal gridHeight = m_grid.height() / m_grid.devicePixelRatio();
    p.drawText(QRectF(0, gridHeight, width(), height() - gridHeight), Qt::AlignCenter, code);
}

} // namespace tintavo
