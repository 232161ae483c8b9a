#include "picker/frame_window.h"

#include "picker/loupe_placement.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tintavo {

namespace {

// The crosshair's arms start this far (device pixels) from the outlined
// square, so that they never hide the pixels next to it, and are this long.
constexpr int kArmGap = 4;
constexpr int kArmLength = 12;

QScreen *screenNamed(const QString &name)
{
    for (QScreen *s : QGuiApplication::screens()) {
        if (s->name() == name)
            return s;
    }
    return QGuiApplication::primaryScreen();
}

} // namespace

FrameWindow::FrameWindow(FrozenScreen *frozen, const QRect &native)
    : m_frozen(frozen), m_pixels(native)
{
    setObjectName(QStringLiteral("FrozenFrame"));
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
             Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput);
    // The toolkit keeps a monitor's top-left corner in native pixels.
    QScreen *target = QGuiApplication::primaryScreen();
    for (QScreen *s : QGuiApplication::screens()) {
        if (s->geometry().topLeft() == native.topLeft())
            target = s;
    }
    setScreen(target);
    const qreal ratio = target->devicePixelRatio();
    // A frame pixel is a device pixel here.
    m_scaleX = m_scaleY = ratio;
    setGeometry(QRect(native.topLeft(),
                      QSize(qCeil(native.width() / ratio), qCeil(native.height() / ratio))));
}

FrameWindow::FrameWindow(FrozenScreen *frozen, const FrameOutput &output)
    : m_frozen(frozen), m_ownsPointer(true), m_pixels(output.pixels),
      m_scaleX(double(output.pixels.width()) / output.logical.width()),
      m_scaleY(double(output.pixels.height()) / output.logical.height())
{
    setObjectName(QStringLiteral("FrozenFrame"));
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    // The crosshair stands in for the pointer.
    setCursor(Qt::BlankCursor);
    setScreen(screenNamed(output.screenName));
    setGeometry(output.logical);
}

FrameWindow::FrameWindow(FrozenScreen *frozen, QScreen *monitor)
    : m_frozen(frozen), m_ownsPointer(true), m_pixels(frozen->rect())
{
    setObjectName(QStringLiteral("PictureFrame"));
    setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setCursor(Qt::BlankCursor);
    setScreen(monitor);
    setGeometry(monitor->geometry());
    m_view.emplace(m_pixels.size(), monitor->geometry().size() * monitor->devicePixelRatio());
}

void FrameWindow::reveal(QPoint pixel)
{
    if (m_view) {
        m_view->reveal(pixel);
        viewMoved();
    }
}

void FrameWindow::viewMoved()
{
    update();
    if (m_frozen->m_viewMoved)
        m_frozen->m_viewMoved();
}

void FrameWindow::refresh()
{
    if (m_held && !m_frozen->drawsOverFrame())
        m_held = m_frozen->m_held->showIn(winId(), m_pixels);
    if (!m_held || m_frozen->drawsOverFrame())
        update();
}

bool FrameWindow::event(QEvent *event)
{
    // The toolkit paints a window when it is exposed, and again at every
    // further exposure.
    if (event->type() == QEvent::Expose || event->type() == QEvent::Paint) {
        // Once the frame is on the screen, the rest of it comes over
        // meanwhile, for the views that need it whole.
        if (isExposed())
            m_frozen->startReading();
        if (m_held && !m_frozen->drawsOverFrame())
            return true;
    }
    return QRasterWindow::event(event);
}

void FrameWindow::paintEvent(QPaintEvent *)
{
    // The frame as shown (as read, or as a colour-vision view sees it),
    // one frame pixel on one device pixel, without smoothing; a monitor
    // that came scaled up in the frame shows it scaled back down.
    const QImage &shown = m_frozen->shownFrame();
    if (m_view) {
        QPainter p(this);
        p.save();
        p.scale(1 / devicePixelRatio(), 1 / devicePixelRatio());
        m_view->paint(p, shown);
        paintRegion(p);
        p.restore();
        if (m_pixels.contains(m_frozen->m_pointer))
            paintCrosshair(p);
        if (m_pixels.contains(m_frozen->m_loupe.pointer))
            paintLoupe(p);
        m_view->paintLabel(p, m_frozen->pictureLabel(), QRect(QPoint(0, 0), size()));
        return;
    }
    const QRect part = m_pixels & shown.rect();
    // A view of the monitor's rectangle of the frame, not a copy.
    const QImage view(shown.constScanLine(part.y()) + part.x() * 4, part.width(), part.height(),
                      shown.bytesPerLine(), QImage::Format_RGB32);
    const qreal ratio = devicePixelRatio();
    const QSize device = size() * ratio;
    QPainter p(this);
    p.save();
    p.scale(1 / ratio, 1 / ratio);
    // Opaque, every pixel of it: nothing beneath needs filling first.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_ownsPointer && part.size() != device) {
        // Resampled once per view, not at every move of the crosshair.
        if (m_resampled.size() != device || m_resampledFrom != shown.cacheKey()) {
            m_resampled = view.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            m_resampledFrom = shown.cacheKey();
        }
        p.drawImage(QPoint(0, 0), m_resampled);
    } else {
        p.drawImage(toDevice(part.topLeft()), view);
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    paintRegion(p);
    p.restore();
    if (m_ownsPointer && m_pixels.contains(m_frozen->m_pointer))
        paintCrosshair(p);
    if (m_ownsPointer && m_pixels.contains(m_frozen->m_loupe.pointer))
        paintLoupe(p);
}

void FrameWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_panFrom) {
        const QPointF at = event->position() * devicePixelRatio();
        panBy(at - *m_panFrom);
        m_panFrom = at;
        return;
    }
    pointTo(event->position());
}

void FrameWindow::mousePressEvent(QMouseEvent *event)
{
    if (panPress(event))
        return;
    pointTo(event->position());
    if (m_ownsPointer)
        later([button = event->button(), at = m_frozen->m_pointer](PointerGrab *input) {
            emit input->buttonPressed(button, at);
        });
}

void FrameWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_panFrom) {
        if (event->buttons() == Qt::NoButton)
            m_panFrom.reset();
        return;
    }
    pointTo(event->position());
    if (m_ownsPointer)
        later([button = event->button(), at = m_frozen->m_pointer](PointerGrab *input) {
            emit input->buttonReleased(button, at);
        });
}

void FrameWindow::keyPressEvent(QKeyEvent *event)
{
    if (!m_ownsPointer || pictureKey(event))
        return;
    const auto key = Qt::Key(event->key());
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool altShift = modifiers == (Qt::AltModifier | Qt::ShiftModifier);
    const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
    // The keys a desktop grab would deliver: the picker's own, digits,
    // and letters with Ctrl.
    const bool taken = key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter ||
                       key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
                       key == Qt::Key_Down || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
                       (letter && modifiers == Qt::ControlModifier) ||
                       (altShift && (key == Qt::Key_S || key == Qt::Key_F));
    if (taken)
        later([key, modifiers](PointerGrab *input) { emit input->keyPressed(key, modifiers); });
}

bool FrameWindow::pictureKey(QKeyEvent *event)
{
    if (!m_view)
        return false;
    const int key = event->key();
    if (key == Qt::Key_Space) {
        m_spaceDown = true;
        return true;
    }
    if (!(event->modifiers() & Qt::ControlModifier))
        return false;
    // About the crosshair, the pixel being looked at.
    const QPointF about = m_view->toDevice(QPointF(m_frozen->m_pointer) + QPointF(0.5, 0.5));
    if (key == Qt::Key_Equal || key == Qt::Key_Plus)
        zoomBy(1, about);
    else if (key == Qt::Key_Minus)
        zoomBy(-1, about);
    else if (key == Qt::Key_0) {
        m_view->reset();
        viewMoved();
    } else {
        return false;
    }
    return true;
}

void FrameWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        m_spaceDown = false;
}

bool FrameWindow::panPress(QMouseEvent *event)
{
    if (!m_view || !(event->button() == Qt::MiddleButton ||
                     (event->button() == Qt::LeftButton && m_spaceDown)))
        return false;
    m_panFrom = event->position() * devicePixelRatio();
    return true;
}

void FrameWindow::wheelEvent(QWheelEvent *event)
{
    if (!m_ownsPointer)
        return;
    const QPoint angle = event->angleDelta();
    // The loupe's cells: Ctrl+wheel on a screen's frame, Alt+wheel on a
    // picture, where Ctrl+wheel zooms. One size a notch; a wheel that Alt
    // turns sideways counts all the same.
    if (event->modifiers() & (m_view ? Qt::AltModifier : Qt::ControlModifier)) {
        m_wheelPending += angle.y() != 0 ? angle.y() : angle.x();
        const int steps = m_wheelPending / 120;
        m_wheelPending %= 120;
        if (steps != 0)
            later([steps, modifiers = event->modifiers()](PointerGrab *input) {
                emit input->wheelTurned(steps, modifiers);
            });
        return;
    }
    if (!m_view)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        // One level a notch, however fine the wheel's steps.
        m_wheelPending += angle.y();
        const int steps = m_wheelPending / 120;
        m_wheelPending %= 120;
        if (steps != 0)
            zoomBy(steps, event->position() * devicePixelRatio());
        return;
    }
    // A notch moves the picture by a ninth of the monitor's shorter side.
    const QPoint pixels = event->pixelDelta();
    const double notch = std::min(width(), height()) * devicePixelRatio() / 9 / 120;
    QPointF delta = pixels.isNull() ? QPointF(angle) * notch : QPointF(pixels) * devicePixelRatio();
    if (event->modifiers() & Qt::ShiftModifier)
        delta = QPointF(delta.y() + delta.x(), 0);
    panBy(delta);
}

void FrameWindow::zoomBy(int steps, QPointF device)
{
    m_view->zoomBy(steps, device);
    viewMoved();
}

void FrameWindow::panBy(QPointF device)
{
    m_view->pan(device);
    viewMoved();
}

void FrameWindow::paintRegion(QPainter &p)
{
    const QRect region = m_frozen->region() & m_pixels;
    if (region.isEmpty())
        return;
    const QRect onScreen =
        QRectF(toDevice(region.topLeft()), toDevice(region.bottomRight() + QPoint(1, 1)))
            .toAlignedRect();
    const QImage &marks = m_frozen->regionMarks();
    if (!marks.isNull())
        p.drawImage(QRectF(onScreen), marks,
                    QRectF(region.topLeft() - m_frozen->region().topLeft(), region.size()));
    const QRect outline = onScreen.adjusted(-1, -1, 0, 0);
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(outline);
    p.setPen(QPen(Qt::white, 0, Qt::DashLine));
    p.drawRect(outline);
}

void FrameWindow::resizeEvent(QResizeEvent *)
{
    if (m_view) {
        m_view->setMonitor(size() * devicePixelRatio());
        return;
    }
    // Full screen as the compositor made it: the monitor's real scale
    // is the frame's size against this, not against the toolkit's
    // geometry of the screen.
    if (m_ownsPointer && !size().isEmpty()) {
        m_scaleX = double(m_pixels.width()) / width();
        m_scaleY = double(m_pixels.height()) / height();
    }
}

void FrameWindow::pointTo(QPointF local)
{
    if (!m_ownsPointer)
        return;
    if (m_view) {
        // Over the background the desktop's pointer shows, and the
        // crosshair stays on the picture pixel it last rang.
        const QPoint pixel = m_view->pixelAt(local * devicePixelRatio());
        const bool onPicture = m_pixels.contains(pixel);
        setCursor(onPicture ? Qt::BlankCursor : Qt::ArrowCursor);
        if (onPicture && m_frozen->movePointer(pixel))
            emit m_frozen->m_input->pointerMoved(pixel);
        return;
    }
    const QPoint inside = framePixelAt(local, size(), m_pixels);
    if (m_frozen->movePointer(inside))
        emit m_frozen->m_input->pointerMoved(inside);
}

QPointF FrameWindow::toDevice(QPointF pixel) const
{
    if (m_view)
        return m_view->toDevice(pixel);
    const qreal ratio = devicePixelRatio();
    return {(pixel.x() - m_pixels.left()) * ratio / m_scaleX,
            (pixel.y() - m_pixels.top()) * ratio / m_scaleY};
}

void FrameWindow::paintCrosshair(QPainter &p)
{
    // Drawn in device pixels, so that its lines are crisp at every scale.
    p.save();
    p.scale(1 / devicePixelRatio(), 1 / devicePixelRatio());
    const int side = std::max(1, m_frozen->m_loupe.sampleSize);
    const QPointF first = QPointF(m_frozen->m_pointer) - QPointF(side / 2, side / 2);
    const QRect square =
        QRectF(toDevice(first), toDevice(first + QPointF(side, side))).toAlignedRect();
    // A dark ring just around the square, a light one around that: it
    // shows on light and on dark pixels alike.
    for (const auto &[grow, colour] : {std::pair{2, Qt::white}, std::pair{1, Qt::black}}) {
        const QRect ring = square.adjusted(-grow, -grow, grow, grow);
        const QRect inner = square.adjusted(-grow + 1, -grow + 1, grow - 1, grow - 1);
        p.fillRect(QRect(ring.left(), ring.top(), ring.width(), inner.top() - ring.top()), colour);
        p.fillRect(
            QRect(ring.left(), inner.bottom() + 1, ring.width(), ring.bottom() - inner.bottom()),
            colour);
        p.fillRect(QRect(ring.left(), ring.top(), inner.left() - ring.left(), ring.height()),
                   colour);
        p.fillRect(
            QRect(inner.right() + 1, ring.top(), ring.right() - inner.right(), ring.height()),
            colour);
    }
    const QPoint c = square.center();
    const int reachX = square.width() / 2 + kArmGap, reachY = square.height() / 2 + kArmGap;
    const QRect arms[] = {
        {square.left() - kArmGap - kArmLength, c.y(), kArmLength, 1},
        {c.x() + reachX, c.y(), kArmLength, 1},
        {c.x(), square.top() - kArmGap - kArmLength, 1, kArmLength},
        {c.x(), c.y() + reachY, 1, kArmLength},
    };
    for (const QRect &arm : arms)
        p.fillRect(arm.adjusted(-1, -1, 1, 1), Qt::white);
    for (const QRect &arm : arms)
        p.fillRect(arm, Qt::black);
    p.restore();
}

void FrameWindow::paintLoupe(QPainter &p)
{
    const qreal ratio = devicePixelRatio();
    const int side = m_frozen->m_loupe.side;
    const QSize device = LoupeWindow::deviceSize(ratio, side);
    if (m_view) {
        // Placed in device pixels, clear of the square it shows at this zoom.
        const QPointF pointer =
            m_view->toDevice(QPointF(m_frozen->m_loupe.pointer) + QPointF(0.5, 0.5));
        const int radius = qCeil((side / 2 + 0.5) * m_view->zoom());
        const QRect placed = loupePlacement(pointer.toPoint(), radius, device,
                                            {QRect(QPoint(0, 0), size() * ratio)});
        LoupeWindow::paint(p, QRectF(QPointF(placed.topLeft()) / ratio, QSizeF(device) / ratio),
                           m_frozen->m_loupe, ratio);
        return;
    }
    // Placed in frame pixels, clear of the square it shows, on the monitor.
    const QSize inFrame(qCeil(device.width() * m_scaleX / ratio),
                        qCeil(device.height() * m_scaleY / ratio));
    QList<QRect> monitors;
    for (const FrameOutput &o : m_frozen->m_outputs)
        monitors.append(o.pixels);
    const QRect placed = loupePlacement(m_frozen->m_loupe.pointer, side / 2, inFrame, monitors);
    const QPointF at = toDevice(placed.topLeft()) / ratio;
    LoupeWindow::paint(p, QRectF(at, QSizeF(device) / ratio), m_frozen->m_loupe, ratio);
}

} // namespace tintavo
