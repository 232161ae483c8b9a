#include "picker/frozen_screen.h"

#include "picker/loupe_placement.h"
#include "platform/pointer_grab.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <functional>

namespace tintavo {

namespace {

// The crosshair's arms start this far (device pixels) from the outlined
// square, so that they never hide the pixels next to it, and are this long.
constexpr int kArmGap = 4;
constexpr int kArmLength = 12;

// What the frame's own windows take: they are the whole screen while shown,
// so there is nothing to grab from other programs.
class FrameInput : public PointerGrab
{
public:
    explicit FrameInput(std::function<void()> activate) : m_activate(std::move(activate)) {}
    GrabResult grab() override
    {
        m_activate();
        return GrabResult::Grabbed;
    }
    void release() override {}

private:
    std::function<void()> m_activate;
};

void releaseFrame(void *bits)
{
    delete static_cast<std::shared_ptr<const uchar> *>(bits);
}

QImage frameImage(const ScreenFrame &frame)
{
    if (frame.isNull())
        return {};
    // The image keeps the frame's bytes alive as long as it lives.
    return QImage(frame.bits.get(), frame.size.width(), frame.size.height(), frame.stride,
                  QImage::Format_RGB32, releaseFrame, new std::shared_ptr<const uchar>(frame.bits));
}

QList<QRect> toolkitMonitors()
{
    QList<QRect> monitors;
    for (const QScreen *s : QGuiApplication::screens())
        monitors.append({s->geometry().topLeft(), s->geometry().size() * s->devicePixelRatio()});
    return monitors;
}

QScreen *screenNamed(const QString &name)
{
    for (QScreen *s : QGuiApplication::screens()) {
        if (s->name() == name)
            return s;
    }
    return QGuiApplication::primaryScreen();
}

} // namespace

// One monitor's part of the frame, covering that monitor.
class FrameWindow : public QRasterWindow
{
public:
    // A window the pointer passes through, over `native`, the monitor's
    // rectangle of the desktop.
    FrameWindow(const QImage &frame, const QRect &native) : m_pixels(native)
    {
        setObjectName(QStringLiteral("FrozenFrame"));
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                 Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                 Qt::WindowTransparentForInput);
        setPart(frame);
        // The toolkit keeps a monitor's top-left corner in native pixels.
        QScreen *target = QGuiApplication::primaryScreen();
        for (QScreen *s : QGuiApplication::screens()) {
            if (s->geometry().topLeft() == native.topLeft())
                target = s;
        }
        setScreen(target);
        const qreal ratio = target->devicePixelRatio();
        setGeometry(QRect(native.topLeft(),
                          QSize(qCeil(native.width() / ratio), qCeil(native.height() / ratio))));
    }

    // The window of `owner`'s own pointer on `output`, filling its screen.
    FrameWindow(FrozenScreen *owner, const FrameOutput &output)
        : m_owner(owner), m_pixels(output.pixels),
          m_scaleX(double(output.pixels.width()) / output.logical.width()),
          m_scaleY(double(output.pixels.height()) / output.logical.height())
    {
        setObjectName(QStringLiteral("FrozenFrame"));
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        // The crosshair stands in for the pointer.
        setCursor(Qt::BlankCursor);
        setPart(owner->m_frame);
        setScreen(screenNamed(output.screenName));
        setGeometry(output.logical);
    }

    bool ownsPointer() const { return m_owner; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        // Told the scale it is painted at, the frame lands one pixel on one
        // device pixel, without smoothing; a monitor that came scaled up in
        // the frame shows it scaled back down.
        QImage part = m_part;
        part.setDevicePixelRatio(m_owner ? m_scaleX : devicePixelRatio());
        const QSize device = size() * devicePixelRatio();
        if (m_owner && part.size() != device) {
            // Resampled once, not at every move of the crosshair.
            if (m_resampled.size() != device)
                m_resampled = m_part.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            part = m_resampled;
            part.setDevicePixelRatio(devicePixelRatio());
        }
        QPainter p(this);
        // Opaque, every pixel of it: nothing beneath needs filling first.
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), part);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (m_owner && m_pixels.contains(m_owner->m_pointer))
            paintCrosshair(p);
        if (m_owner && m_pixels.contains(m_owner->m_loupe.pointer))
            paintLoupe(p);
    }

    void mouseMoveEvent(QMouseEvent *event) override { pointTo(event->position()); }

    void mousePressEvent(QMouseEvent *event) override
    {
        pointTo(event->position());
        if (m_owner)
            later([button = event->button(), at = m_owner->m_pointer](PointerGrab *input) {
                emit input->buttonPressed(button, at);
            });
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (!m_owner)
            return;
        const auto key = Qt::Key(event->key());
        const bool altShift = (event->modifiers() & (Qt::AltModifier | Qt::ShiftModifier)) ==
                              (Qt::AltModifier | Qt::ShiftModifier);
        switch (key) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            later([key](PointerGrab *input) { emit input->keyPressed(key); });
            return;
        case Qt::Key_S:
        case Qt::Key_F:
            if (altShift)
                later([key](PointerGrab *input) { emit input->keyPressed(key); });
            return;
        default:
            return;
        }
    }

private:
    // Told once the event is over: a listener may close the frame, and this
    // window with it. Nothing is told once the frame has gone.
    template <typename Tell> void later(Tell tell)
    {
        PointerGrab *input = m_owner->m_input.get();
        QMetaObject::invokeMethod(
            input, [input, tell] { tell(input); }, Qt::QueuedConnection);
    }

    void setPart(const QImage &frame)
    {
        // A view of the monitor's rectangle of the frame, not a copy.
        const QRect part = m_pixels & frame.rect();
        m_part = QImage(frame.constScanLine(part.y()) + part.x() * 4, part.width(), part.height(),
                        frame.bytesPerLine(), QImage::Format_RGB32);
    }

    void pointTo(QPointF local)
    {
        if (!m_owner)
            return;
        const QPoint pixel = m_pixels.topLeft() + QPoint(int(std::floor(local.x() * m_scaleX)),
                                                         int(std::floor(local.y() * m_scaleY)));
        const QPoint inside(std::clamp(pixel.x(), m_pixels.left(), m_pixels.right()),
                            std::clamp(pixel.y(), m_pixels.top(), m_pixels.bottom()));
        if (m_owner->movePointer(inside))
            emit m_owner->m_input->pointerMoved(inside);
    }

    // Frame pixels to this window's device pixels.
    QPointF toDevice(QPointF pixel) const
    {
        const qreal ratio = devicePixelRatio();
        return {(pixel.x() - m_pixels.left()) * ratio / m_scaleX,
                (pixel.y() - m_pixels.top()) * ratio / m_scaleY};
    }

    void paintCrosshair(QPainter &p)
    {
        // Drawn in device pixels, so that its lines are crisp at every scale.
        p.save();
        p.scale(1 / devicePixelRatio(), 1 / devicePixelRatio());
        const int side = std::max(1, m_owner->m_loupe.sampleSize);
        const QPointF first = QPointF(m_owner->m_pointer) - QPointF(side / 2, side / 2);
        const QRect square =
            QRectF(toDevice(first), toDevice(first + QPointF(side, side))).toAlignedRect();
        // A dark ring just around the square, a light one around that: it
        // shows on light and on dark pixels alike.
        for (const auto &[grow, colour] : {std::pair{2, Qt::white}, std::pair{1, Qt::black}}) {
            const QRect ring = square.adjusted(-grow, -grow, grow, grow);
            const QRect inner = square.adjusted(-grow + 1, -grow + 1, grow - 1, grow - 1);
            p.fillRect(QRect(ring.left(), ring.top(), ring.width(), inner.top() - ring.top()),
                       colour);
            p.fillRect(QRect(ring.left(), inner.bottom() + 1, ring.width(),
                             ring.bottom() - inner.bottom()),
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

    void paintLoupe(QPainter &p)
    {
        const qreal ratio = devicePixelRatio();
        const QSize device = LoupeWindow::deviceSize(ratio);
        // Placed in frame pixels, clear of the square it shows, on the monitor.
        const QSize inFrame(qCeil(device.width() * m_scaleX / ratio),
                            qCeil(device.height() * m_scaleY / ratio));
        QList<QRect> monitors;
        for (const FrameOutput &o : m_owner->m_outputs)
            monitors.append(o.pixels);
        const QRect placed =
            loupePlacement(m_owner->m_loupe.pointer, LoupeWindow::kRadius, inFrame, monitors);
        const QPointF at = toDevice(placed.topLeft()) / ratio;
        LoupeWindow::paint(p, QRectF(at, QSizeF(device) / ratio), m_owner->m_loupe, ratio);
    }

    FrozenScreen *m_owner = nullptr;
    QRect m_pixels; // the monitor's rectangle of the frame
    double m_scaleX = 1, m_scaleY = 1;
    QImage m_part;
    QImage m_resampled; // m_part at this window's device size, where they differ
};

FrozenScreen::FrozenScreen(ScreenSampler &live)
    : m_live(&live), m_frame(frameImage(live.grabFrame()))
{
}

FrozenScreen::FrozenScreen(const ScreenFrame &frame, const QList<FrameOutput> &outputs)
    : m_frame(frameImage(frame))
{
    for (const FrameOutput &o : outputs) {
        if (!o.pixels.isEmpty() && !o.logical.isEmpty())
            m_outputs.append(o);
    }
    if (m_outputs.isEmpty()) {
        m_frame = QImage();
        return;
    }
    m_input = std::make_unique<FrameInput>([this] {
        if (!m_windows.empty())
            m_windows.front()->requestActivate();
    });
    // The crosshair starts where the pointer was last seen, or amid the
    // first monitor.
    m_pointer = m_outputs.front().pixels.center();
    const QPoint seen = QCursor::pos();
    for (const FrameOutput &o : m_outputs) {
        if (o.logical.contains(seen))
            m_pointer = o.pixels.topLeft() +
                        QPoint((seen.x() - o.logical.x()) * o.pixels.width() / o.logical.width(),
                               (seen.y() - o.logical.y()) * o.pixels.height() / o.logical.height());
    }
}

FrozenScreen::~FrozenScreen() = default;

PointerGrab *FrozenScreen::input() const
{
    return m_input.get();
}

void FrozenScreen::show()
{
    if (m_frame.isNull() || !m_windows.empty())
        return;
    if (!m_live) {
        for (const FrameOutput &output : m_outputs) {
            m_windows.push_back(std::make_unique<FrameWindow>(this, output));
            m_windows.back()->showFullScreen();
        }
        return;
    }
    QList<QRect> monitors = m_live->monitors();
    if (monitors.isEmpty())
        monitors = toolkitMonitors();
    for (const QRect &monitor : monitors) {
        m_windows.push_back(std::make_unique<FrameWindow>(m_frame, monitor));
        m_windows.back()->show();
    }
}

bool FrozenScreen::onScreen(QPoint pixel) const
{
    if (m_live)
        return m_frame.rect().contains(pixel);
    // The frame spans the monitors' bounding box; what lies between them is
    // no screen pixel.
    return std::any_of(m_outputs.cbegin(), m_outputs.cend(),
                       [pixel](const FrameOutput &o) { return o.pixels.contains(pixel); });
}

std::optional<Rgb> FrozenScreen::pixelColor(QPoint screen)
{
    if (!onScreen(screen) || !m_frame.rect().contains(screen))
        return std::nullopt;
    const QRgb c = reinterpret_cast<const QRgb *>(m_frame.constScanLine(screen.y()))[screen.x()];
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

QList<QRect> FrozenScreen::monitors()
{
    if (m_live)
        return m_live->monitors();
    QList<QRect> monitors;
    for (const FrameOutput &o : m_outputs)
        monitors.append(o.pixels);
    return monitors;
}

bool FrozenScreen::movePointer(QPoint screen)
{
    if (m_live)
        return m_live->movePointer(screen);
    if (!onScreen(screen))
        return false;
    m_pointer = screen;
    for (const auto &window : m_windows)
        window->update();
    return true;
}

void FrozenScreen::showLoupe(const LoupeContent &content)
{
    m_loupe = content;
    for (const auto &window : m_windows)
        window->update();
}

} // namespace tintavo
