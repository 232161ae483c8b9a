#include "picker/one_shot_pick.h"

#include "picker/frame_parts.h"
#include "picker/frame_session.h"
#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"
#include "picker/screenshot_wait.h"

#include "platform/desktop_picking.h"
#include "platform/frame_grabber.h"
#include "platform/pointer_grab.h"
#include "platform/screen_sampler.h"

#include <QTimer>

#include <cstdio>

namespace tintavo {

namespace {

constexpr int kSampleIntervalMs = 50;
// A desktop key binding starts the program while its keys are still down:
// the grab is tried for two seconds.
constexpr int kGrabTries = 40;

QString line(const char *chinese, const char *english)
{
    return QString::fromUtf8(chinese) + QStringLiteral(" / ") + QString::fromUtf8(english);
}

void printLine(const QString &text)
{
    std::fputs((text + u'\n').toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

OneShotPick::OneShotPick(ScreenSampler &sampler, std::unique_ptr<PointerGrab> grab,
                         PickSettings settings, std::optional<int> freezeAfter)
    : m_sampler(&sampler), m_grab(std::move(grab)), m_settings(settings), m_freezeAfter(freezeAfter)
{
}

OneShotPick::OneShotPick(std::unique_ptr<DesktopPicking> desktop,
                         std::unique_ptr<FrameGrabber> frames, PickSettings settings,
                         std::optional<int> freezeAfter)
    : m_settings(settings), m_freezeAfter(freezeAfter), m_desktop(std::move(desktop)),
      m_frames(std::move(frames))
{
    connect(m_desktop.get(), &DesktopPicking::picked, this, &OneShotPick::finishDesktopPick);
    if (!m_frames)
        return;
    connect(m_frames.get(), &FrameGrabber::grabbed, this, &OneShotPick::pickOnFrame);
    connect(m_frames.get(), &FrameGrabber::failed, this, &OneShotPick::frameRefused);
}

OneShotPick::OneShotPick(std::unique_ptr<FrozenScreen> picture, PickSettings settings)
    : m_settings(settings), m_picture(std::move(picture))
{
    // A picture's pixels are sRGB already.
    m_settings.colorManaged = false;
}

OneShotPick::~OneShotPick()
{
    if (FrameSession *session = std::exchange(m_session, nullptr))
        session->end();
    discardPendingFrameParts(this);
}

void OneShotPick::start()
{
    if (m_picture) {
        startSession(new FrameSession(this, std::move(m_picture), m_settings, {}));
        return;
    }
    if (m_desktop && m_frames) {
        QTimer::singleShot(m_freezeAfter.value_or(0) * 1000, m_frames.get(), [this] {
            m_frames->grab();
            QTimer::singleShot(kScreenshotWaitNoticeMs, this, [this] {
                if (m_frames->grabbing())
                    printLine(screenshotWaitLine());
            });
        });
        return;
    }
    if (m_desktop) {
        // No window of ours for the desktop to put its dialog over.
        m_desktop->pick(QString());
        return;
    }
    if (!m_sampler->available()) {
        fail(line("Tintavo 无法读取屏幕，不能取色。",
                  "Tintavo cannot read the screen here, so it cannot pick."));
        return;
    }
    m_engine = std::make_unique<PickEngine>(*m_sampler, m_settings);
    if (!m_freezeAfter) {
        startSession(new FrameSession(this, *m_engine, nullptr, std::move(m_grab),
                                      {.grabTries = kGrabTries}));
        return;
    }
    QTimer::singleShot(*m_freezeAfter * 1000, this, &OneShotPick::freeze);
}

void OneShotPick::freeze()
{
    auto frozen = std::make_unique<FrozenScreen>(*m_sampler);
    if (frozen->isNull()) {
        fail(line("Tintavo 读不到整个屏幕，无法冻结。",
                  "Tintavo could not read the whole screen, so it cannot freeze it."));
        return;
    }
    startSession(new FrameSession(this, *m_engine, std::move(frozen), std::move(m_grab),
                                  {.grabTries = kGrabTries}));
}

void OneShotPick::pickOnFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs)
{
    auto frozen = std::make_unique<FrozenScreen>(frame, outputs);
    if (frozen->isNull()) {
        // A picture that cannot be shown is as good as none.
        frameRefused(PickOutcome::Missing);
        return;
    }
    // The frame is the whole screen here: its windows take the pointer and
    // the keys, and the loupe is drawn in them.
    startSession(new FrameSession(this, std::move(frozen), m_settings, {.grabTries = kGrabTries}));
}

void OneShotPick::startSession(FrameSession *session)
{
    m_session = session;
    connect(session, &FrameSession::refused, this, &OneShotPick::grabRefused);
    connect(session, &FrameSession::pickWanted, this, [this](std::optional<QPoint> at) {
        pickAt(at.value_or(m_session->engine().screen().pointerPosition()));
    });
    connect(session, &FrameSession::endWanted, this, &OneShotPick::cancel);
    session->start();
}

void OneShotPick::grabRefused(GrabResult why)
{
    fail(why == GrabResult::Taken
             ? line("另一个程序占着指针或键盘，Tintavo 无法取色。",
                    "Another program holds the pointer or the keyboard, so Tintavo cannot pick.")
             : line("此桌面不让程序占用指针和键盘，Tintavo 无法取色。",
                    "This desktop does not let a program take the pointer and the keyboard, "
                    "so Tintavo cannot pick."));
}

void OneShotPick::frameRefused(PickOutcome outcome)
{
    // Said, with how to allow it for good, and the pick goes on the
    // desktop's way.
    if (screenshotRefused(outcome))
        printLine(screenshotRefusalLine(outcome));
    printLine(framesRefusedLine());
    m_desktop->pick(QString());
}

void OneShotPick::pickAt(QPoint point)
{
    if (m_done || !m_session)
        return;
    // Read afresh where the click was, rather than trust the last look.
    bool retry = false;
    const std::optional<Rgb> color = m_session->engine().colorAt(point, &retry);
    if (retry) {
        QTimer::singleShot(2 * kSampleIntervalMs, this, [this, point] { pickAt(point); });
        return;
    }
    finish();
    if (!color) {
        emit failed(
            line("Tintavo 读不到那里的屏幕颜色。", "Tintavo could not read the screen there."));
        return;
    }
    emit picked(*color);
}

void OneShotPick::finish()
{
    m_done = true;
    // The frame goes with the pick: the desktop shows itself again at once.
    if (FrameSession *session = std::exchange(m_session, nullptr)) {
        session->engine().setLoupeHidden(true);
        session->end();
    }
}

void OneShotPick::fail(const QString &why)
{
    finish();
    emit failed(why);
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
    case PickOutcome::Ended:
        // Nothing picked, as after Escape, but the desktop would not say it
        // was Escape: the script's user hears what is known.
        printLine(
            line("桌面的取色服务没有给出颜色：取色被取消了，或者失败了（它不区分这两种情况）。",
                 "The desktop's colour picking service gave no colour: the pick was "
                 "called off or it failed (it does not tell which)."));
        emit cancelled();
        return;
    default:
        emit failed(pickTroubleLine(outcome));
        return;
    }
}

} // namespace tintavo
