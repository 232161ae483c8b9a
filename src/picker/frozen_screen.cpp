#include "picker/frozen_screen.h"

#include "color/vision_table.h"
#include "picker/frame_window.h"
#include "picture/picture_file.h"
#include "platform/pointer_grab.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

namespace tintavo {

namespace {

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

} // namespace

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

FrozenScreen::FrozenScreen(const LoadedPicture &picture, QScreen *monitor)
    : m_size(picture.srgb.size()), m_frame(picture.srgb), m_monitor(monitor),
      m_stored(picture.stored)
{
    if (!m_monitor)
        m_monitor = QGuiApplication::primaryScreen();
    m_pictureLabel =
        picture.profileName.isEmpty()
            ? QStringLiteral("未嵌入色彩配置，按 sRGB 取色")
            : QStringLiteral("按嵌入的色彩配置“%1”转为 sRGB 取色").arg(picture.profileName);
    m_input = std::make_unique<FrameInput>([this] {
        if (!m_windows.empty())
            m_windows.front()->requestActivate();
    });
    m_pointer = rect().center();
}

FrozenScreen::~FrozenScreen() = default;

QRect FrozenScreen::onDesktop(const QRect &pixels) const
{
    if (!m_monitor || m_windows.empty())
        return pixels;
    const PictureView &view = *m_windows.front()->pictureView();
    return QRectF(view.toDevice(pixels.topLeft()),
                  view.toDevice(pixels.bottomRight() + QPoint(1, 1)))
        .toAlignedRect()
        .adjusted(0, 0, -1, -1)
        .translated(m_monitor->geometry().topLeft());
}

PointerGrab *FrozenScreen::input() const
{
    return m_input.get();
}

void FrozenScreen::show()
{
    if (isNull() || !m_windows.empty())
        return;
    if (m_monitor) {
        m_windows.push_back(std::make_unique<FrameWindow>(this, m_monitor));
        m_windows.back()->showFullScreen();
        return;
    }
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
    if (m_simulating)
        return m_simulated;
    return isPicture() ? m_stored : frame();
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
    if (m_live || m_monitor)
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
    if (m_monitor)
        return {rect()};
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
    for (const auto &window : m_windows) {
        window->reveal(screen);
        window->update();
    }
    return true;
}

void FrozenScreen::showLoupe(const LoupeContent &content)
{
    m_loupe = content;
    // A picture's loupe shows its own pixels, as its window does; the
    // colour picked stays the one in sRGB.
    const int side = int(std::lround(std::sqrt(double(content.pixels.size()))));
    if (isPicture() && m_stored.cacheKey() != m_frame.cacheKey() && side > 0) {
        const QPoint first = content.pointer - QPoint(side / 2, side / 2);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const QPoint at = first + QPoint(x, y);
                if (auto &cell = m_loupe.pixels[size_t(y * side + x)];
                    cell && rect().contains(at)) {
                    const QRgb c = m_stored.pixel(at);
                    cell = rgb(qRed(c), qGreen(c), qBlue(c));
                }
            }
        }
    }
    for (const auto &window : m_windows)
        window->update();
}

} // namespace tintavo
