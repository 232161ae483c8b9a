#include "picker/one_shot_pick.h"

#include "picker/area_sample.h"
#include "picker/frame_parts.h"
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
// A desktop key binding starts the program while its keys are still down, and
// some window managers hold the keyboard until they are released.
constexpr int kGrabTries = 40;
constexpr int kGrabRetryMs = 50;

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

OneShotPick::OneShotPick(ScreenSampler &sampler, PointerGrab &grab, Options options)
    : m_sampler(&sampler), m_grab(&grab), m_options(options)
{
    m_options.sampleSize = sampleSizeFromSetting(options.sampleSize);
    listen();
}

void OneShotPick::listen()
{
    connect(m_grab, &PointerGrab::buttonPressed, this, [this](Qt::MouseButton button, QPoint at) {
        if (button == Qt::LeftButton)
            pickAt(at);
        else if (button == Qt::RightButton)
            cancel();
    });
    connect(m_grab, &PointerGrab::keyPressed, this, [this](Qt::Key key) {
        switch (key) {
        case Qt::Key_Escape:
            cancel();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            pickAt(m_sampler->pointerPosition());
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (m_engine && !m_done)
                m_engine->step(key == Qt::Key_Left    ? QPoint(-1, 0)
                               : key == Qt::Key_Right ? QPoint(1, 0)
                               : key == Qt::Key_Up    ? QPoint(0, -1)
                                                      : QPoint(0, 1));
            break;
        default:
            break;
        }
    });
}

OneShotPick::OneShotPick(std::unique_ptr<DesktopPicking> desktop,
                         std::unique_ptr<FrameGrabber> frames, Options options)
    : m_options(options), m_desktop(std::move(desktop)), m_frames(std::move(frames))
{
    connect(m_desktop.get(), &DesktopPicking::picked, this, &OneShotPick::finishDesktopPick);
    if (!m_frames)
        return;
    connect(m_frames.get(), &FrameGrabber::grabbed, this, &OneShotPick::pickOnFrame);
    connect(m_frames.get(), &FrameGrabber::failed, this, &OneShotPick::frameRefused);
}

OneShotPick::~OneShotPick()
{
    if (m_grab)
        m_grab->release();
    discardPendingFrameParts(this);
}

void OneShotPick::start()
{
    if (m_desktop && m_frames) {
        QTimer::singleShot(m_options.freezeAfter.value_or(0) * 1000, m_frames.get(), [this] {
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
        m_done = true;
        emit failed(line("Tintavo 无法读取屏幕，不能取色。",
                         "Tintavo cannot read the screen here, so it cannot pick."));
        return;
    }
    m_engine = std::make_unique<PickEngine>(
        *m_sampler,
        PickEngine::Options{m_options.loupe, m_options.sampleSize, m_options.colorManaged});
    if (!m_options.freezeAfter) {
        tryGrab();
        return;
    }
    QTimer::singleShot(*m_options.freezeAfter * 1000, this, &OneShotPick::freeze);
}

void OneShotPick::freeze()
{
    m_frozen = std::make_unique<FrozenScreen>(*m_sampler);
    if (m_frozen->isNull()) {
        m_done = true;
        emit failed(line("Tintavo 读不到整个屏幕，无法冻结。",
                         "Tintavo could not read the whole screen, so it cannot freeze it."));
        return;
    }
    m_frozen->show();
    m_engine->setFrame(m_frozen.get());
    tryGrab();
}

void OneShotPick::pickOnFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs)
{
    m_frozen = std::make_unique<FrozenScreen>(frame, outputs);
    if (m_frozen->isNull()) {
        m_frozen.reset();
        // A picture that cannot be shown is as good as none.
        frameRefused(PickOutcome::Missing);
        return;
    }
    // The frame is the whole screen here: its windows take the pointer and
    // the keys, and the loupe is drawn in them.
    m_sampler = m_frozen.get();
    m_grab = m_frozen->input();
    m_engine = std::make_unique<PickEngine>(
        *m_frozen,
        PickEngine::Options{m_options.loupe, m_options.sampleSize, m_options.colorManaged, false});
    connect(m_engine.get(), &PickEngine::looked, this,
            [this](const LoupeContent &content) { m_frozen->showLoupe(content); });
    listen();
    m_frozen->show();
    tryGrab();
}

void OneShotPick::frameRefused(PickOutcome outcome)
{
    // Said, with how to allow it for good, and the pick goes on the
    // desktop's way.
    if (screenshotRefused(outcome))
        printLine(screenshotRefusalLine(outcome));
    std::fputs((line("桌面没有给出截图，改用桌面自己的取色（单个像素，没有放大镜和微移）。",
                     "The desktop gave no screenshot, so Tintavo uses the desktop's own "
                     "colour pick (one pixel, no loupe, no steps).") +
                u'\n')
                   .toUtf8()
                   .constData(),
               stderr);
    std::fflush(stderr);
    m_desktop->pick(QString());
}

void OneShotPick::tryGrab()
{
    switch (m_grab->grab()) {
    case GrabResult::Grabbed: {
        // The loupe follows the pointer's own motion, and nothing wakes
        // while it rests.
        connect(m_grab, &PointerGrab::pointerMoved, m_engine.get(), [this] {
            if (!m_done)
                m_engine->updateSoon();
        });
        m_engine->update(true);
        m_engine->raiseLoupe();
        return;
    }
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

void OneShotPick::pickAt(QPoint point)
{
    if (m_done)
        return;
    // Read afresh where the click was, rather than trust the last look.
    bool retry = false;
    const std::optional<Rgb> color = m_engine->colorAt(point, &retry);
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
    if (m_engine)
        m_engine->setLoupeHidden(true);
    if (m_grab) {
        m_grab->release();
        m_grab->disconnect(this);
    }
    // The frame goes with the pick: the desktop shows itself again at once.
    // The frame itself goes once the event at hand is over, for the click or
    // key that ended the pick may have come from its windows.
    FrameParts parts;
    if (m_frames) {
        // The engine and the grab read the frame: they go with it.
        parts.engine = std::move(m_engine);
        m_grab = nullptr;
        m_sampler = nullptr;
    } else if (m_engine) {
        m_engine->setFrame(nullptr);
    }
    if (m_frozen)
        m_frozen->setVisible(false);
    parts.frame = std::move(m_frozen);
    destroyAfterEvent(this, std::move(parts));
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
        std::fputs(
            (line("桌面的取色服务没有给出颜色：取色被取消了，或者失败了（它不区分这两种情况）。",
                  "The desktop's colour picking service gave no colour: the pick was "
                  "called off or it failed (it does not tell which).") +
             u'\n')
                .toUtf8()
                .constData(),
            stderr);
        std::fflush(stderr);
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
