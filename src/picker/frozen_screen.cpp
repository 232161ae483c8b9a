#include "picker/frozen_screen.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>

namespace tintavo {

// One monitor's part of the frame, covering that monitor.
class FrameWindow : public QRasterWindow
{
public:
    FrameWindow(const QImage &frame, const QRect &native) : m_native(native)
    {
        setObjectName(QStringLiteral("FrozenFrame"));
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                 Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                 Qt::WindowTransparentForInput);
        // A view of the monitor's rectangle of the frame, not a copy.
        const QRect part = native & frame.rect();
        m_part = QImage(frame.constScanLine(part.y()) + part.x() * 4, part.width(), part.height(),
                        frame.bytesPerLine(), QImage::Format_RGB32);
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
        // Told the scale it is painted at, the frame lands one pixel on one
        // device pixel, without smoothing.
        QImage part = m_part;
        part.setDevicePixelRatio(devicePixelRatio());
        QPainter p(this);
        // Opaque, every pixel of it: nothing beneath needs filling first.
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), part);
    }

private:
    QRect m_native;
    QImage m_part;
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
        m_windows.push_back(std::make_unique<FrameWindow>(m_frame, monitor));
        m_windows.back()->show();
    }
}

std::optional<Rgb> FrozenScreen::pixelColor(QPoint screen)
{
    if (!m_frame.rect().contains(screen))
        return std::nullopt;
    const QRgb c = reinterpret_cast<const QRgb *>(m_frame.constScanLine(screen.y()))[screen.x()];
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

} // namespace tintavo
