#include "picker/live_picker.h"

#include "picker/arrow_steps.h"
#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"

#include "platform/global_hotkey.h"
#include "platform/pointer_grab.h"
#include "platform/screen_sampler.h"

#include <QLabel>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace tintavo {

namespace {

// How often the picker looks where it cannot be told of motion.
constexpr int kSampleIntervalMs = 50;
// How often it looks under a pointer that rests: as often as a caret blinks.
constexpr int kRestingIntervalMs = 500;

const QKeyCombination kCaptureKey(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S);
const QKeyCombination kFreezeKey(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_F);

// Without change reports the picker costs a read every tick; whoever wonders
// why it wakes so often learns it once a run.
void sayOnceLookingOnATimer()
{
    static bool said = false;
    if (std::exchange(said, true))
        return;
    std::fputs("Tintavo：显示服务器不报告屏幕的变化（X 服务器没有 DAMAGE 扩展），"
               "取色器改为每 50 毫秒重读一次光标下的屏幕。 / The display server reports no "
               "screen changes (no DAMAGE extension), so the picker reads the screen under "
               "the pointer every 50 ms.\n",
               stderr);
}

} // namespace

LivePicker::LivePicker(ColorBoxModel &colorBox, ScreenSampler &sampler, GlobalHotKey &hotKey,
                       PickerOptions options)
    : PickerWindow(colorBox, std::move(options)), m_sampler(sampler), m_hotKey(hotKey)
{
    // Where nothing can be read the key would store nothing: it stays the
    // desktop's.
    connect(&m_hotKey, &GlobalHotKey::activated, this, &LivePicker::storeColor);
    const HotKeyResult registration =
        m_sampler.available() ? m_hotKey.registerKey(kCaptureKey) : HotKeyResult::Unsupported;
    if (registration == HotKeyResult::Registered && m_sampler.canMovePointer() &&
        m_options.makeHotKey)
        grabNudgeKeys();
    HotKeyResult freezeKey = HotKeyResult::Unsupported;
    if (registration == HotKeyResult::Registered && m_options.makeHotKey && m_options.makeGrab) {
        m_freezeKey = m_options.makeHotKey();
        freezeKey = m_freezeKey->registerKey(kFreezeKey);
        connect(m_freezeKey.get(), &GlobalHotKey::activated, this, &LivePicker::toggleFreeze);
    }

    // Say so when the desktop denies the picker its key or the screen, rather
    // than inviting a key press that does nothing or showing colours that are
    // not there.
    m_instruction->setEnabled(registration == HotKeyResult::Registered);
    if (!m_sampler.available()) {
        m_hint = QStringLiteral("无法读取屏幕，\n取色不可用");
    } else if (registration == HotKeyResult::Taken) {
        m_hint = QStringLiteral("Alt+Shift+S\n已被其他程序占用");
    } else if (registration == HotKeyResult::Unsupported) {
        m_hint = QStringLiteral("不支持全局热键，\n无法存储颜色");
    } else if (m_nudgeKeysTaken) {
        m_hint = QStringLiteral("Alt+Shift+方向键\n已被占用，可冻结");
        m_hintDetails = QStringLiteral("另一个程序占用了 Alt+Shift+方向键。按 Alt+Shift+F "
                                       "冻结屏幕后，可以用方向键逐像素移动。");
    } else if (freezeKey == HotKeyResult::Taken) {
        m_hint = QStringLiteral("Alt+Shift+F\n已被其他程序占用");
        m_hintDetails = QStringLiteral("另一个程序占用了 Alt+Shift+F：冻结屏幕请用右键菜单。");
    }
    restoreNotice();

    m_engine = std::make_unique<PickEngine>(m_sampler, m_options.picking);
    connect(m_engine.get(), &PickEngine::sampled, this, &LivePicker::showSample);
    connect(m_engine.get(), &PickEngine::loupeCellsChanged, this, &LivePicker::useLoupeCells,
            Qt::UniqueConnection);

    // Sampling starts with the window, not with a call. Where motion and
    // the screen's changes are reported, the loupe follows each move and
    // each change under it within the frame it happened in, and the timer
    // only catches the moves nothing reports (a program warping the
    // pointer), at the pace of a text caret's blink.
    if (m_engine->available() && m_options.makePointerWatch)
        m_pointerWatch = m_options.makePointerWatch();
    if (m_engine->available() && m_options.makeScreenChangeWatch)
        m_screenWatch = m_options.makeScreenChangeWatch();
    const bool motionWatched = m_pointerWatch && m_pointerWatch->watching();
    m_screenWatched = m_screenWatch && m_screenWatch->watching();
    if (motionWatched) {
        connect(m_pointerWatch.get(), &PointerWatch::moved, m_engine.get(),
                [this] { m_engine->updateSoon(); });
    }
    if (m_screenWatched) {
        connect(m_screenWatch.get(), &ScreenChangeWatch::changed, m_engine.get(),
                &PickEngine::screenChanged);
    } else if (m_screenWatch && m_engine->available()) {
        sayOnceLookingOnATimer();
    }
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(motionWatched && m_screenWatched ? kRestingIntervalMs : kSampleIntervalMs);
    connect(timer, &QTimer::timeout, this, &LivePicker::sampleUnderPointer);
    timer->start();
}

LivePicker::~LivePicker()
{
    // The keys go back to the desktop also when the picker goes down with
    // the main window without being closed.
    closeForGood();
    m_hotKey.unregisterKey();
}

void LivePicker::grabNudgeKeys()
{
    QStringList taken;
    for (const ArrowStep &nudge : kArrowSteps) {
        std::unique_ptr<GlobalHotKey> key = m_options.makeHotKey();
        const HotKeyResult result =
            key->registerKey(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, nudge.key));
        if (result == HotKeyResult::Registered) {
            connect(key.get(), &GlobalHotKey::activated, this,
                    [this, step = nudge.step] { m_engine->step(step); });
            m_nudgeKeys.push_back(std::move(key));
        } else if (result == HotKeyResult::Taken) {
            taken << QStringLiteral("Alt+Shift+") + QString::fromUtf8(nudge.arrow);
        }
    }
    // The capture key works all the same; the notice says what is missing.
    m_nudgeKeysTaken = !taken.isEmpty();
    if (!taken.isEmpty()) {
        const QByteArray keys = taken.join(QLatin1String(", ")).toUtf8();
        std::fprintf(stderr,
                     "Tintavo: %s 已被其他程序占用，不能用来微移光标。 / %s: held by another "
                     "program, so it cannot step the pointer.\n",
                     keys.constData(), keys.constData());
        std::fflush(stderr);
    }
}

void LivePicker::sampleUnderPointer()
{
    // Unreported changes under a resting pointer are caught by reading it
    // again, once there is something to compare.
    m_engine->update(!m_screenWatched && m_engine->lastColor());
}

void LivePicker::capture()
{
    storeColor();
}

bool LivePicker::canFreeze() const
{
    // Freezing needs the whole screen and the pointer to itself.
    return m_engine->available() && m_options.makeGrab;
}

void LivePicker::freeze()
{
    stopCountdown();
    if (m_session || m_freezing)
        return;
    // Neither the loupe nor the picker is part of the screen: both go
    // first, and the frame is read once the windows beneath have drawn
    // themselves again. The picker comes back above the frame.
    m_freezing = true;
    m_engine->setLoupeHidden(true);
    hideMenu();
    hide();
    QTimer::singleShot(PickEngine::kRedrawDelayMs, this, &LivePicker::freezeNow);
}

void LivePicker::freezeNow()
{
    m_freezing = false;
    if (m_closed)
        return;
    // The frame first, before anything of ours is back on the screen; then
    // the pointer and the keyboard, so that a click picks rather than
    // reaching the window under the frame.
    auto frozen = std::make_unique<FrozenScreen>(m_sampler);
    if (frozen->isNull()) {
        cannotFreeze(QStringLiteral("读不到整个屏幕。"));
        return;
    }
    if (!m_options.makeGrab) {
        cannotFreeze(QStringLiteral("另一个程序占着指针或键盘。"));
        return;
    }
    auto *session =
        new FrameSession(this, *m_engine, std::move(frozen), m_options.makeGrab(), frameSetup());
    connect(session, &FrameSession::refused, this, [this] {
        std::exchange(m_session, nullptr)->end();
        cannotFreeze(QStringLiteral("另一个程序占着指针或键盘。"));
    });
    connect(session, &FrameSession::started, this, [this] {
        showAboveFrame();
        showAgain();
        setNotice(
            QStringLiteral("已冻结，点击存储\nEsc返回实时画面"),
            QStringLiteral("屏幕已冻结：左键、回车或 Alt+Shift+S 存储颜色，方向键逐像素移动；"
                           "按住左键拖动或 Shift+方向键选出区域，量前景色对其中每个像素的对比度"
                           "（Ctrl+C 复制）；1–4 键看色觉模拟，0 键看真实画面；Ctrl+S 保存画面；"
                           "Esc、右键或 Alt+Shift+F 返回实时画面。"));
    });
    openSession(session);
}

void LivePicker::cannotFreeze(const QString &why)
{
    showAgain();
    setNotice(QStringLiteral("无法冻结屏幕"), why);
}

void LivePicker::showAgain()
{
    show();
    raise();
    m_engine->setLoupeHidden(menuShown());
    m_engine->update(true);
}

void LivePicker::restoreNotice()
{
    setNotice(m_hint, m_hintDetails);
}

void LivePicker::closing()
{
    m_hotKey.unregisterKey();
    m_nudgeKeys.clear();
}

} // namespace tintavo
