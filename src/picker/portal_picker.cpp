#include "picker/portal_picker.h"

#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"
#include "picker/screenshot_wait.h"

#include "common/control_table.h"
#include "platform/desktop_picking.h"
#include "platform/frame_grabber.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace tintavo {

namespace {

// The desktop picking button's captions.
const QString kPickCaption = QStringLiteral("取色");
const QString kStopWaitingCaption = QStringLiteral("停止等待");
const QString kDesktopPickCaption = QStringLiteral("桌面取色");

} // namespace

PortalPicker::PortalPicker(ColorBoxModel &colorBox, std::unique_ptr<DesktopPicking> desktopPicking,
                           PickerOptions options)
    : PickerWindow(colorBox, std::move(options)), m_desktop(std::move(desktopPicking))
{
    // Nothing follows the pointer here: the notice, which says how to pick,
    // takes the position's place and the instruction's, and the button 取色
    // sits under the colour code.
    m_positionLabel->hide();
    m_instruction->hide();
    m_notice->setGeometry(toPixels(TwipsRect{30, 30, 1575, 840}));
    m_colorLabel->move(twipsToPixels(30), twipsToPixels(885));
    auto *button = new QPushButton(kPickCaption, this);
    button->setObjectName(QStringLiteral("cmdPick"));
    button->setGeometry(toPixels(TwipsRect{30, 1170, 1575, 345}));
    m_pickButton = button;
    connect(button, &QPushButton::clicked, this, &PortalPicker::pickButtonClicked);

    connect(m_desktop.get(), &DesktopPicking::picked, this, &PortalPicker::finishDesktopPick);
    connect(m_desktop.get(), &DesktopPicking::keyPressed, this, &PortalPicker::startPick);
    connect(m_desktop.get(), &DesktopPicking::keyBound, this, [this](PickOutcome outcome) {
        m_desktopKey = outcome == PickOutcome::Success;
        m_keyNotBound = outcome == PickOutcome::Ended;
        if (!m_session)
            restoreNotice();
    });
    if (m_options.makeFrameGrabber) {
        m_screenshotWait = new QTimer(this);
        m_screenshotWait->setSingleShot(true);
        m_screenshotWait->setInterval(kScreenshotWaitNoticeMs);
        connect(m_screenshotWait, &QTimer::timeout, this, [this] {
            if (!m_frames->grabbing())
                return;
            m_waitingForScreenshot = true;
            m_pickButton->setText(kStopWaitingCaption);
            setNotice(screenshotWaitNotice(kStopWaitingCaption), allowScreenshotsForGood());
        });
        m_frames = m_options.makeFrameGrabber();
        connect(m_frames.get(), &FrameGrabber::grabbed, this, &PortalPicker::showFrame);
        connect(m_frames.get(), &FrameGrabber::failed, this, &PortalPicker::frameRefused);
    }
    restoreNotice();
    m_desktop->bindKey(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S),
                       QStringLiteral("存储当前颜色"), parentWindowId());
}

PortalPicker::~PortalPicker()
{
    closeForGood();
}

void PortalPicker::capture()
{
    startPick();
}

void PortalPicker::freeze()
{
    // At the countdown's end the notice says how to pick again.
    if (stopCountdown())
        restoreNotice();
    startPick();
}

void PortalPicker::closing()
{
    // The desktop's key goes back, and a pick under way is called off.
    m_desktop.reset();
}

QString PortalPicker::parentWindowId()
{
    // The desktop puts its dialogs over the picker when it can name it; a
    // Wayland window would need a handle exported first, so it goes without.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return QStringLiteral("x11:%1").arg(winId(), 0, 16);
    return {};
}

void PortalPicker::startPick()
{
    if (m_session) {
        // The desktop's key on the frame stores, as it does live on X11.
        m_session->press(Qt::Key_S);
        return;
    }
    if (!m_desktop || m_desktop->picking() || (m_frames && m_frames->grabbing()))
        return;
    m_pickTrouble.clear();
    m_pickCancelled = false;
    m_sayFramesRefused = false;
    if (m_frames && !m_framesRefused && !m_offerDesktopPick) {
        m_frames->grab();
        m_screenshotWait->start();
        return;
    }
    // The desktop's own pick is offered once after a refused screenshot; the
    // next pick asks for a screenshot again.
    m_offerDesktopPick = false;
    m_pickButton->setText(kPickCaption);
    restoreNotice();
    m_desktop->pick(parentWindowId());
}

void PortalPicker::pickButtonClicked()
{
    if (!m_waitingForScreenshot) {
        startPick();
        return;
    }
    m_frames->cancel();
    stopWaiting();
    m_pickCancelled = true;
    restoreNotice();
}

void PortalPicker::stopWaiting()
{
    m_waitingForScreenshot = false;
    m_pickButton->setText(kPickCaption);
}

void PortalPicker::showFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs)
{
    stopWaiting();
    auto frozen = std::make_unique<FrozenScreen>(frame, outputs);
    if (frozen->isNull() || !isVisible()) {
        if (frozen->isNull())
            frameRefused(PickOutcome::Failed);
        return;
    }
    auto *session = new FrameSession(this, std::move(frozen), m_options.picking, frameSetup());
    connect(&session->engine(), &PickEngine::sampled, this, &PortalPicker::showSample);
    connect(session, &FrameSession::started, this, [this] {
        setNotice(QStringLiteral("已截取屏幕，点击存储\nEsc返回"),
                  QStringLiteral("在截取的画面上：左键、回车或 Alt+Shift+S 存储十字线框住的颜色，"
                                 "方向键逐像素移动；Esc 或右键返回。"));
    });
    openSession(session);
}

void PortalPicker::frameRefused(PickOutcome outcome)
{
    stopWaiting();
    if (screenshotRefused(outcome)) {
        // Nothing behind the user's back: what happened, how to allow it for
        // good, and the desktop's own pick as a second choice.
        m_offerDesktopPick = true;
        m_pickButton->setText(kDesktopPickCaption);
        setNotice(screenshotRefusalNotice(outcome, kDesktopPickCaption), allowScreenshotsForGood());
        return;
    }
    // Said once; from then on every pick is the desktop's own, one pixel.
    m_framesRefused = true;
    m_sayFramesRefused = true;
    m_framesTrouble = framesRefusedDetails(outcome);
    restoreNotice();
    m_desktop->pick(parentWindowId());
}

void PortalPicker::finishDesktopPick(PickOutcome outcome, Rgb color)
{
    switch (outcome) {
    case PickOutcome::Success:
        showColorCode(color);
        showColor(color);
        restoreNotice();
        store(color);
        return;
    case PickOutcome::Cancelled: // the user changed their mind: the way to try again stays
    case PickOutcome::Ended:     // "nothing this time" claims no cancel either
        m_pickCancelled = true;
        break;
    default:
        m_pickTrouble = pickTroubleNotice(outcome);
        break;
    }
    restoreNotice();
}

void PortalPicker::restoreNotice()
{
    // A pick that ended without a colour says so in the first line, in place
    // of why the pointer is not followed; the instructions stay.
    const QString first =
        m_pickCancelled ? QStringLiteral("本次没有取色") : QStringLiteral("无法跟随光标取色");
    // With the desktop's frames, the colour is picked on Tintavo's copy.
    const QString where = m_frames && !m_framesRefused
                              ? QStringLiteral("“取色”，再在截图\n上点选颜色")
                              : QStringLiteral("“取色”，再点选\n屏幕上的颜色");
    if (!m_pickTrouble.isEmpty())
        setNotice(m_pickTrouble);
    else if (m_sayFramesRefused) // until the next pick
        setNotice(QStringLiteral("截图服务不可用，\n已改用桌面取色：\n点选屏幕上的颜色"),
                  m_framesTrouble);
    else if (m_desktopKey)
        setNotice(first + QStringLiteral("。\n按Alt+Shift+S或\n") + where);
    else if (m_keyNotBound)
        setNotice(first + QStringLiteral("，\n桌面未绑定热键。\n按") + where,
                  QStringLiteral("桌面的全局快捷键服务收下了 Alt+Shift+S，却没有绑定它。"
                                 "可在桌面的键盘快捷键设置里把一个键设为 tintavo --capture。"));
    else
        setNotice(first + QStringLiteral("，\n也没有全局热键。\n按") + where);
}

} // namespace tintavo
