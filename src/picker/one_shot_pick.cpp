#include "picker/one_shot_pick.h"

#include "picker/area_sample.h"
#include "picker/display_profile.h"
#include "picker/loupe_window.h"

#include "platform/desktop_picking.h"
#include "platform/pointer_grab.h"
#include "platform/screen_sampler.h"

#include <QTimer>

#include <cstdio>

namespace tintavo {

namespace {

constexpr int kSampleIntervalMs = 50;
// A desktop key binding starts the program while its keys are still down, and
// some window managers hold the keyboard until they are released.
constexpr int kGrabTries = 40;
constexpr int kGrabRetryMs = 50;

QString line(const char *chinese, const char *english)
{
    return QString::fromUtf8(chinese) + QStringLiteral(" / ") + QString::fromUtf8(english);
}

} // namespace

OneShotPick::OneShotPick(ScreenSampler &sampler, PointerGrab &grab, Options options)
    : m_sampler(&sampler), m_grab(&grab), m_options(options)
{
    m_options.sampleSize = sampleSizeFromSetting(options.sampleSize);
    connect(m_grab, &PointerGrab::buttonPressed, this, [this](Qt::MouseButton button, QPoint at) {
        if (button == Qt::LeftButton)
            pickAt(at);
        else if (button == Qt::RightButton)
            cancel();
    });
    connect(m_grab, &PointerGrab::keyPressed, this, [this](Qt::Key key) {
        const QPoint pointer = m_sampler->pointerPosition();
        switch (key) {
        case Qt::Key_Escape:
            cancel();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            pickAt(pointer);
            break;
        default: {
            const QPoint step = key == Qt::Key_Left    ? QPoint(-1, 0)
                                : key == Qt::Key_Right ? QPoint(1, 0)
                                : key == Qt::Key_Up    ? QPoint(0, -1)
                                                       : QPoint(0, 1);
            if (m_sampler->movePointer(pointer + step))
                sample();
        }
        }
    });
}

OneShotPick::OneShotPick(std::unique_ptr<DesktopPicking> desktop) : m_desktop(std::move(desktop))
{
    connect(m_desktop.get(), &DesktopPicking::picked, this, &OneShotPick::finishDesktopPick);
}

OneShotPick::~OneShotPick()
{
    if (m_grab)
        m_grab->release();
}

void OneShotPick::start()
{
    if (m_desktop) {
        // No window of ours for the desktop to put its dialog over.
        m_desktop->pick(QString());
        return;
    }
    if (!m_sampler->available()) {
        m_done = true;
        emit failed(line("Tintavo 无法读取屏幕，不能取色。",
                         "Tintavo cannot read the screen here, so it cannot pick."));
        return;
    }
    m_monitors = m_sampler->monitors();
    if (m_options.colorManaged) // as the picker does
        m_profiles.load(*m_sampler);
    if (m_options.loupe)
        m_loupe = std::make_unique<LoupeWindow>(m_monitors);
    tryGrab();
}

void OneShotPick::tryGrab()
{
    switch (m_grab->grab()) {
    case GrabResult::Grabbed:
        if (m_loupe) {
            auto *timer = new QTimer(this);
            timer->setInterval(kSampleIntervalMs);
            connect(timer, &QTimer::timeout, this, &OneShotPick::sample);
            timer->start();
            m_ticker = timer;
            sample();
        }
        return;
    case GrabResult::Taken:
        if (++m_grabTries < kGrabTries) {
            QTimer::singleShot(kGrabRetryMs, this, &OneShotPick::tryGrab);
            return;
        }
        m_done = true;
        emit failed(line("另一个程序占着指针或键盘，Tintavo 无法取色。",
                         "Another program holds the pointer or the keyboard, so Tintavo "
                         "cannot pick."));
        return;
    case GrabResult::Unsupported:
        m_done = true;
        emit failed(line("此桌面不让程序占用指针和键盘，Tintavo 无法取色。",
                         "This desktop does not let a program take the pointer and the "
                         "keyboard, so Tintavo cannot pick."));
        return;
    }
}

void OneShotPick::sample()
{
    if (m_done || !m_loupe)
        return;
    const QPoint pointer = m_sampler->pointerPosition();
    if (pointer == m_lastPointer)
        return;
    constexpr int r = LoupeWindow::kRadius;
    const QRect square(pointer - QPoint(r, r), QSize(LoupeWindow::kSide, LoupeWindow::kSide));
    if (m_loupe->isVisible() && m_loupe->placedAt().adjusted(-2, -2, 2, 2).intersects(square)) {
        // The pointer jumped onto the loupe, which would magnify itself: it
        // moves off first, and what it uncovers is read at the next tick.
        m_loupe->moveBeside(pointer);
        m_lastPointer = QPoint(-1, -1);
        return;
    }
    m_lastPointer = pointer;
    const auto pixels = m_sampler->pixelColors(pointer, r);
    std::optional<Rgb> sampled = meanColor(pixels, LoupeWindow::kSide, m_options.sampleSize);
    const DisplayProfile *profile = m_profiles.at(pointer);
    if (sampled && profile)
        sampled = profile->toSrgb(*sampled);
    m_loupe->showPixels(pointer, pixels, m_options.sampleSize, sampled, profile != nullptr);
}

void OneShotPick::pickAt(QPoint point)
{
    if (m_done)
        return;
    const int r = m_options.sampleSize / 2;
    const QRect square(point - QPoint(r, r), QSize(2 * r + 1, 2 * r + 1));
    if (m_loupe && m_loupe->isVisible() &&
        m_loupe->placedAt().adjusted(-2, -2, 2, 2).intersects(square)) {
        // Clicked before the loupe moved off: read once the windows under it
        // have drawn themselves again.
        m_loupe->hide();
        QTimer::singleShot(2 * kSampleIntervalMs, this, [this, point] { pickAt(point); });
        return;
    }
    // Read afresh where the click was, rather than trust the last tick.
    std::optional<Rgb> color =
        meanColor(m_sampler->pixelColors(point, r), 2 * r + 1, m_options.sampleSize);
    finish();
    if (!color) {
        emit failed(
            line("Tintavo 读不到那里的屏幕颜色。", "Tintavo could not read the screen there."));
        return;
    }
    if (const DisplayProfile *profile = m_profiles.at(point))
        color = profile->toSrgb(*color);
    emit picked(*color);
}

void OneShotPick::finish()
{
    m_done = true;
    delete m_ticker;
    m_ticker = nullptr;
    if (m_loupe)
        m_loupe->hide();
    if (m_grab)
        m_grab->release();
}

void OneShotPick::cancel()
{
    if (m_done)
        return;
    finish();
    emit cancelled();
}

void OneShotPick::finishDesktopPick(PickOutcome outcome, Rgb color)
{
    m_done = true;
    switch (outcome) {
    case PickOutcome::Success:
        emit picked(color);
        return;
    case PickOutcome::Cancelled:
        emit cancelled();
        return;
    case PickOutcome::Failed:
        emit failed(line("桌面的取色服务出错。", "The desktop's colour picking service failed."));
        return;
    case PickOutcome::Missing:
        emit failed(line("此桌面没有取色服务。", "This desktop offers no colour picking service."));
        return;
    case PickOutcome::TooOld:
        emit failed(line("此桌面的取色服务版本过旧，不支持取色。",
                         "The desktop's colour picking service is too old to pick colours."));
        return;
    case PickOutcome::NoAnswer:
        emit failed(line("桌面的取色服务没有应答。",
                         "The desktop's colour picking service did not answer."));
        return;
    }
}

} // namespace tintavo
