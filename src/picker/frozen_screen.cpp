#include "picker/frozen_screen.h"

#include "color/vision_table.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QtConcurrent>

namespace tintavo {

// One monitor's part of the frame, covering that monitor.
class FrameWindow : public QRasterWindow
{
public:
    FrameWindow(const FrozenScreen &frozen, const QRect &native)
        : m_frozen(frozen), m_native(native)
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
        setGeometry(QRect(native.topLeft(),
                          QSize(qCeil(native.width() / ratio), qCeil(native.height() / ratio))));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        // Painted in device pixels, the frame lands one pixel on one device
        // pixel, without smoothing.
        const QImage &shown = m_frozen.shownFrame();
        const QRect part = m_native & shown.rect();
        // A view of the monitor's rectangle of the frame, not a copy.
        const QImage view(shown.constScanLine(part.y()) + part.x() * 4, part.width(), part.height(),
                          shown.bytesPerLine(), QImage::Format_RGB32);
        QPainter p(this);
        p.scale(1 / devicePixelRatio(), 1 / devicePixelRatio());
        // Opaque, every pixel of it: nothing beneath needs filling first.
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(part.topLeft() - m_native.topLeft(), view);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QRect region = m_frozen.region().translated(-m_native.topLeft());
        if (region.isEmpty())
            return;
        if (!m_frozen.regionMarks().isNull())
            p.drawImage(region.topLeft(), m_frozen.regionMarks());
        // Dark and light dashes a device pixel wide just outside the region:
        // seen on any colour.
        const QRect outline = region.adjusted(-1, -1, 0, 0);
        p.setPen(QPen(Qt::black, 0));
        p.drawRect(outline);
        p.setPen(QPen(Qt::white, 0, Qt::DashLine));
        p.drawRect(outline);
    }

private:
    const FrozenScreen &m_frozen;
    QRect m_native;
};

namespace {

void releaseFrame(void *bits)
{
    delete static_cast<std::shared_ptr<const uchar> *>(bits);
}

QList<QRect> toolkitMonitors()
{
    QList<QRect> monitors;
    for (const QScreen *s : QGuiApplication::screens())
        monitors.append({s->geometry().topLeft(), s->geometry().size() * s->devicePixelRatio()});
    return monitors;
}

// Rows a worker converts at a time: enough to outweigh handing them out.
constexpr int kRowsPerTask = 64;

} // namespace

FrozenScreen::FrozenScreen(ScreenSampler &live) : m_live(live)
{
    const ScreenFrame frame = live.grabFrame();
    if (frame.isNull())
        return;
    // The frame keeps the bytes the screen sent alive as long as it lives.
    m_frame =
        QImage(frame.bits.get(), frame.size.width(), frame.size.height(), frame.stride,
               QImage::Format_RGB32, releaseFrame, new std::shared_ptr<const uchar>(frame.bits));
    m_shown = m_frame;
}

FrozenScreen::~FrozenScreen() = default;

void FrozenScreen::show()
{
    if (m_frame.isNull() || !m_windows.empty())
        return;
    QList<QRect> monitors = m_live.monitors();
    if (monitors.isEmpty())
        monitors = toolkitMonitors();
    for (const QRect &monitor : monitors) {
        m_windows.push_back(std::make_unique<FrameWindow>(*this, monitor));
        m_windows.back()->show();
    }
}

void FrozenScreen::setVisible(bool visible)
{
    for (const auto &window : m_windows)
        window->setVisible(visible);
}

void FrozenScreen::showAs(const VisionTable *view)
{
    if (m_frame.isNull())
        return;
    if (!view) {
        m_shown = m_frame;
    } else {
        // One buffer serves every view: a new one would cost the system a
        // fault for each of its pages. A save under way keeps the old view.
        m_shown = m_frame;
        if (m_simulated.size() != m_frame.size())
            m_simulated = QImage(m_frame.size(), QImage::Format_RGB32);
        // Taken here, on this thread: the workers must not detach the image.
        uchar *to = m_simulated.bits();
        const uchar *from = m_frame.constBits();
        const qsizetype toStride = m_simulated.bytesPerLine(), fromStride = m_frame.bytesPerLine();
        const int width = m_frame.width(), height = m_frame.height();
        std::vector<int> firstRows;
        for (int y = 0; y < height; y += kRowsPerTask)
            firstRows.push_back(y);
        QtConcurrent::blockingMap(firstRows, [&](int first) {
            view->applyRows(reinterpret_cast<const quint32 *>(from + first * fromStride),
                            fromStride / 4, reinterpret_cast<quint32 *>(to + first * toStride),
                            toStride / 4, width, std::min(kRowsPerTask, height - first));
        });
        m_shown = m_simulated;
    }
    for (const auto &window : m_windows)
        window->update();
}

void FrozenScreen::markRegion(const QRect &region, const QImage &marks)
{
    m_region = region & m_frame.rect();
    m_marks = m_region.isEmpty() ? QImage() : marks;
    for (const auto &window : m_windows)
        window->update();
}

std::optional<Rgb> FrozenScreen::pixelColor(QPoint screen)
{
    if (!m_frame.rect().contains(screen))
        return std::nullopt;
    const QRgb c = reinterpret_cast<const QRgb *>(m_frame.constScanLine(screen.y()))[screen.x()];
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

} // namespace tintavo
