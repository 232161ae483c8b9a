#include "picker/frozen_screen.h"

#include "color/vision_table.h"
#include "picker/loupe_placement.h"
#include "platform/pointer_grab.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QResizeEvent>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

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
    FrameWindow(FrozenScreen *frozen, const QRect &native) : m_frozen(frozen), m_pixels(native)
    {
        setObjectName(QStringLiteral("FrozenFrame"));
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                 Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                 Qt::WindowTransparentForInput);
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

    // The window of `frozen`'s own pointer on `output`, filling its screen.
    FrameWindow(FrozenScreen *frozen, const FrameOutput &output)
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

    // The display server shows the held frame as this window's background:
    // only what lies over it is painted here.
    void setHeld(bool held) { m_held = held; }

    // Shows what changed: where nothing lies over a held frame any more, the
    // server draws it again from what it holds, and nothing is painted here.
    void refresh()
    {
        if (m_held && !m_frozen->drawsOverFrame())
            m_held = m_frozen->m_held->showIn(winId(), m_pixels);
        if (!m_held || m_frozen->drawsOverFrame())
            update();
    }

protected:
    bool event(QEvent *event) override
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

    void paintEvent(QPaintEvent *) override
    {
        // The frame as shown (as read, or as a colour-vision view sees it),
        // one frame pixel on one device pixel, without smoothing; a monitor
        // that came scaled up in the frame shows it scaled back down.
        const QImage &shown = m_frozen->shownFrame();
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

    void mouseMoveEvent(QMouseEvent *event) override { pointTo(event->position()); }

    void mousePressEvent(QMouseEvent *event) override
    {
        pointTo(event->position());
        if (m_ownsPointer)
            later([button = event->button(), at = m_frozen->m_pointer](PointerGrab *input) {
                emit input->buttonPressed(button, at);
            });
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        pointTo(event->position());
        if (m_ownsPointer)
            later([button = event->button(), at = m_frozen->m_pointer](PointerGrab *input) {
                emit input->buttonReleased(button, at);
            });
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (!m_ownsPointer)
            return;
        const auto key = Qt::Key(event->key());
        const Qt::KeyboardModifiers modifiers =
            event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        const bool altShift = modifiers == (Qt::AltModifier | Qt::ShiftModifier);
        const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
        // The keys a desktop grab would deliver: the picker's own, digits,
        // and letters with Ctrl.
        const bool taken = key == Qt::Key_Escape || key == Qt::Key_Return ||
                           key == Qt::Key_Enter || key == Qt::Key_Left || key == Qt::Key_Right ||
                           key == Qt::Key_Up || key == Qt::Key_Down ||
                           (key >= Qt::Key_0 && key <= Qt::Key_9) ||
                           (letter && modifiers == Qt::ControlModifier) ||
                           (altShift && (key == Qt::Key_S || key == Qt::Key_F));
        if (taken)
            later([key, modifiers](PointerGrab *input) { emit input->keyPressed(key, modifiers); });
    }

private:
    // Told once the event is over: a listener may close the frame, and this
    // window with it. Nothing is told once the frame has gone.
    template <typename Tell> void later(Tell tell)
    {
        PointerGrab *input = m_frozen->m_input.get();
        QMetaObject::invokeMethod(
            input, [input, tell] { tell(input); }, Qt::QueuedConnection);
    }

    // The selected region's marks, and an outline of dark and light dashes a
    // device pixel wide just outside it: seen on any colour. The painter
    // works in device pixels.
    void paintRegion(QPainter &p)
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

    void resizeEvent(QResizeEvent *) override
    {
        // Full screen as the compositor made it: the monitor's real scale
        // is the frame's size against this, not against the toolkit's
        // geometry of the screen.
        if (m_ownsPointer && !size().isEmpty()) {
            m_scaleX = double(m_pixels.width()) / width();
            m_scaleY = double(m_pixels.height()) / height();
        }
    }

    void pointTo(QPointF local)
    {
        if (!m_ownsPointer)
            return;
        const QPoint inside = framePixelAt(local, size(), m_pixels);
        if (m_frozen->movePointer(inside))
            emit m_frozen->m_input->pointerMoved(inside);
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
        const int side = std::max(1, m_frozen->m_loupe.sampleSize);
        const QPointF first = QPointF(m_frozen->m_pointer) - QPointF(side / 2, side / 2);
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
        for (const FrameOutput &o : m_frozen->m_outputs)
            monitors.append(o.pixels);
        const QRect placed =
            loupePlacement(m_frozen->m_loupe.pointer, LoupeWindow::kRadius, inFrame, monitors);
        const QPointF at = toDevice(placed.topLeft()) / ratio;
        LoupeWindow::paint(p, QRectF(at, QSizeF(device) / ratio), m_frozen->m_loupe, ratio);
    }

    FrozenScreen *m_frozen;
    bool m_ownsPointer = false;
    bool m_held = false;
    QRect m_pixels; // the monitor's rectangle of the frame
    // Frame pixels to one of the window's logical pixels.
    double m_scaleX = 1, m_scaleY = 1;
    // The shown frame at this window's device size, where they differ.
    QImage m_resampled;
    qint64 m_resampledFrom = 0;
};

FrozenScreen::FrozenScreen(ScreenSampler &live) : m_live(&live), m_held(live.holdScreen())
{
    if (!m_held)
        m_frame = frameImage(live.grabFrame());
    m_size = m_held ? m_held->size() : m_frame.size();
}

FrozenScreen::FrozenScreen(const ScreenFrame &frame, const QList<FrameOutput> &outputs)
    : m_size(frame.size), m_frame(frameImage(frame))
{
    for (const FrameOutput &o : outputs) {
        if (!o.pixels.isEmpty() && !o.logical.isEmpty())
            m_outputs.append(o);
    }
    if (m_outputs.isEmpty()) {
        m_frame = QImage();
        m_size = QSize();
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
    if (isNull() || !m_windows.empty())
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
        auto window = std::make_unique<FrameWindow>(this, monitor);
        if (m_held) {
            window->create();
            window->setHeld(m_held->showIn(window->winId(), monitor));
        }
        window->show();
        m_windows.push_back(std::move(window));
    }
}

void FrozenScreen::startReading()
{
    if (!m_held || m_readStarted)
        return;
    m_readStarted = true;
    m_reading = std::async(std::launch::async,
                           [held = m_held.get(), whole = rect()] { return held->read(whole); });
}

const QImage *FrozenScreen::readyFrame()
{
    using namespace std::chrono_literals;
    if (m_reading.valid() && m_reading.wait_for(0s) == std::future_status::ready)
        m_frame = frameImage(m_reading.get());
    if (m_held && (!m_readStarted || m_reading.valid()))
        return nullptr;
    return &m_frame;
}

const QImage &FrozenScreen::frame()
{
    startReading();
    if (m_reading.valid())
        m_frame = frameImage(m_reading.get());
    return m_frame;
}

const QImage &FrozenScreen::shownFrame()
{
    return m_simulating ? m_simulated : frame();
}

void FrozenScreen::setVisible(bool visible)
{
    for (const auto &window : m_windows)
        window->setVisible(visible);
}

void FrozenScreen::showAs(const VisionTable *view)
{
    if (isNull())
        return;
    // A save under way keeps the old view: the buffer is its own again
    // before it is written, and one buffer serves every view after that (a
    // new one would cost the system a fault for each of its pages).
    m_simulating = false;
    const QImage &frame = view ? this->frame() : m_frame;
    if (view && !frame.isNull()) {
        if (m_simulated.size() != frame.size())
            m_simulated = QImage(frame.size(), QImage::Format_RGB32);
        // Taken here, on this thread: the workers must not detach the image.
        uchar *to = m_simulated.bits();
        const uchar *from = frame.constBits();
        const qsizetype toStride = m_simulated.bytesPerLine(), fromStride = frame.bytesPerLine();
        const int width = frame.width(), height = frame.height();
        // A band of rows on every core.
        const int cores = std::max(1, QThread::idealThreadCount());
        const int rows = (height + cores - 1) / cores;
        const auto convert = [&](int first) {
            view->applyRows(reinterpret_cast<const quint32 *>(from + first * fromStride),
                            fromStride / 4, reinterpret_cast<quint32 *>(to + first * toStride),
                            toStride / 4, width, std::min(rows, height - first));
        };
        {
            std::vector<std::jthread> bands;
            for (int first = rows; first < height; first += rows)
                bands.emplace_back(convert, first);
            convert(0);
        }
        m_simulating = true;
    }
    for (const auto &window : m_windows)
        window->refresh();
}

void FrozenScreen::markRegion(const QRect &region, const QImage &marks)
{
    m_region = region & rect();
    m_marks = m_region.isEmpty() ? QImage() : marks;
    for (const auto &window : m_windows)
        window->refresh();
}

bool FrozenScreen::onScreen(QPoint pixel) const
{
    if (m_live)
        return rect().contains(pixel);
    // The frame spans the monitors' bounding box; what lies between them is
    // no screen pixel.
    return std::any_of(m_outputs.cbegin(), m_outputs.cend(),
                       [pixel](const FrameOutput &o) { return o.pixels.contains(pixel); });
}

std::optional<Rgb> FrozenScreen::pixelColor(QPoint screen)
{
    if (!onScreen(screen) || !rect().contains(screen))
        return std::nullopt;
    const QImage *image = readyFrame();
    if (!image)
        return pixelColors(screen, 0).front();
    if (!image->rect().contains(screen))
        return std::nullopt;
    const QRgb c = reinterpret_cast<const QRgb *>(image->constScanLine(screen.y()))[screen.x()];
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

std::vector<std::optional<Rgb>> FrozenScreen::pixelColors(QPoint centre, int radius)
{
    if (readyFrame())
        return ScreenSampler::pixelColors(centre, radius);
    // Until the frame is here whole, the square is read from where it is
    // held, in one request.
    const int side = 2 * radius + 1;
    std::vector<std::optional<Rgb>> area(size_t(side) * size_t(side));
    const QRect wanted(centre - QPoint(radius, radius), QSize(side, side));
    const QRect part = wanted & rect();
    const ScreenFrame read = part.isEmpty() ? ScreenFrame{} : m_held->read(part);
    if (read.isNull())
        return area;
    for (int y = 0; y < part.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(read.bits.get() + y * read.stride);
        for (int x = 0; x < part.width(); ++x) {
            const QPoint at = part.topLeft() + QPoint(x, y);
            if (onScreen(at))
                area[size_t((at.y() - wanted.y()) * side + at.x() - wanted.x())] =
                    rgb(qRed(row[x]), qGreen(row[x]), qBlue(row[x]));
        }
    }
    return area;
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
