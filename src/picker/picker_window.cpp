#include "picker/picker_window.h"

#include "picker/area_sample.h"
#include "picker/display_profile.h"
#include "picker/frame_inspector.h"
#include "picker/frame_parts.h"
#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"
#include "picker/screenshot_wait.h"

#include "color/color_pair.h"
#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "common/announce.h"
#include "common/app_icon.h"
#include "common/control_table.h"
#include "common/interface_font.h"
#include "platform/desktop_picking.h"
#include "platform/frame_grabber.h"
#include "platform/global_hotkey.h"
#include "platform/pointer_grab.h"
#include "platform/screen_sampler.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace tintavo {

namespace {

using K = ControlKind;

// The desktop picking button's captions.
const QString kPickCaption = QStringLiteral("取色");
const QString kStopWaitingCaption = QStringLiteral("停止等待");
const QString kDesktopPickCaption = QStringLiteral("桌面取色");

// The picker's controls: the data labels, of which the first shows the
// position and the last the colour, the instruction, the notice and the
// swatch.
struct PickerControls
{
    std::array<QLabel *, 5> data;
    QLabel *instruction;
    QLabel *notice;
    QWidget *swatch;
};
using P = PickerControls;

// lblData(1..3) are kept hidden; scripts that look for them still find them.
// clang-format off
const ControlRow<PickerControls> kControls[] = {
    {"lblData(0)", K::Label,      nullptr, {30, 30, 1575, 255},    "", "", -1, into<&P::data, 0>},
    {"lblData(1)", K::Label,      nullptr, {210, 300, 1455, 255},  "", "", -1, into<&P::data, 1>},
    {"lblData(2)", K::Label,      nullptr, {180, 585, 1470, 255},  "", "", -1, into<&P::data, 2>},
    {"lblData(3)", K::Label,      nullptr, {210, 870, 1440, 255},  "", "", -1, into<&P::data, 3>},
    {"lblData(4)", K::Label,      nullptr, {45, 360, 1500, 255},   "", "", -1, into<&P::data, 4>},
    {"Label1",     K::Label,      nullptr, {150, 1125, 1440, 405}, "按Alt+Shift+S存储当前颜色", "", -1, into<&P::instruction>},
    {"lblNotice",  K::Label,      nullptr, {30, 645, 1575, 435},   "", "", -1, into<&P::notice>},
    {"Picture1",   K::ColorSwatch, nullptr, {1680, 30, 1800, 1485}, "", "", -1, into<&P::swatch>},
};
// clang-format on

constexpr TwipsRect kClientArea{0, 0, 3495, 1545};
// How often the picker looks where it cannot be told of motion.
constexpr int kSampleIntervalMs = 50;
// How often it looks under a pointer that rests: as often as a caret blinks.
constexpr int kRestingIntervalMs = 500;

// What the picker adds to its flags while it shows above a frozen frame.
constexpr Qt::WindowFlags kAboveFrameFlags =
    Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint;

const QKeyCombination kCaptureKey(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S);
const QKeyCombination kFreezeKey(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_F);
constexpr int kFreezeDelays[] = {3, 5, 10};
// How long the notice says where a colour went.
constexpr int kStoredNoticeMs = 3000;

struct NudgeKey
{
    Qt::Key key;
    QPoint step;
    const char *name;
};
const NudgeKey kNudgeKeys[] = {
    {Qt::Key_Left, {-1, 0}, "Alt+Shift+←"},
    {Qt::Key_Right, {1, 0}, "Alt+Shift+→"},
    {Qt::Key_Up, {0, -1}, "Alt+Shift+↑"},
    {Qt::Key_Down, {0, 1}, "Alt+Shift+↓"},
};

struct SampleSizeItem
{
    int size;
    const char *name;
    const char *text;
};
const SampleSizeItem kSampleSizeItems[] = {
    {1, "menuSample1", "单个像素"},
    {3, "menuSample3", "3×3 平均"},
    {5, "menuSample5", "5×5 平均"},
};

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

// Two lines fit a label's height only with lines set closer than the CJK
// font's own spacing. A text breaks where it says, between words.
QString compactLines(const QString &text)
{
    return QStringLiteral(
               "<p style=\"margin: 0; line-height: 13px; -qt-line-height-type: fixed\">%1</p>")
        .arg(text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")));
}

} // namespace

PickerWindow::PickerWindow(ColorBoxModel &colorBox, ScreenSampler &sampler, GlobalHotKey &hotKey,
                           std::unique_ptr<DesktopPicking> desktopPicking, PickerOptions options)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_colorBox(colorBox), m_sampler(sampler), m_hotKey(hotKey),
      m_desktop(std::move(desktopPicking)), m_options(options)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("鼠标取色"));
    setWindowIcon(appIcon());
    setFixedSize(toPixels(kClientArea).size());

    const PickerControls controls = buildControls<PickerControls>(this, kControls).controls;
    for (QLabel *label : controls.data) {
        // Every data label starts at the left margin and grows to its text. A
        // four-digit position fits beside the swatch, and a notice in the
        // hint's two lines, only a size below the interface font.
        label->move(twipsToPixels(30), label->y());
        label->setFont(compactInterfaceFont());
    }
    for (int i : {1, 2, 3})
        controls.data[size_t(i)]->hide();
    m_positionLabel = controls.data[0];
    m_colorLabel = controls.data[4];
    m_instruction = controls.instruction;
    m_notice = controls.notice;
    for (QLabel *label : {m_instruction, m_notice}) {
        label->setFont(compactInterfaceFont());
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setMargin(0);
    }
    m_instruction->setText(compactLines(m_instruction->text()));
    m_swatch = controls.swatch;
    // The swatch starts in the desktop's window colour.
    showColor(toRgb(palette().color(QPalette::Base)));
    if (m_desktop) {
        setUpDesktopPicking();
        return;
    }

    // Where nothing can be read the key would store nothing: it stays the
    // desktop's.
    connect(&m_hotKey, &GlobalHotKey::activated, this, &PickerWindow::storeColor);
    const HotKeyResult registration =
        m_sampler.available() ? m_hotKey.registerKey(kCaptureKey) : HotKeyResult::Unsupported;
    if (registration == HotKeyResult::Registered && m_sampler.canMovePointer() &&
        options.makeHotKey)
        grabNudgeKeys(options.makeHotKey);
    HotKeyResult freezeKey = HotKeyResult::Unsupported;
    if (registration == HotKeyResult::Registered && options.makeHotKey && m_options.makeGrab) {
        m_freezeKey = options.makeHotKey();
        freezeKey = m_freezeKey->registerKey(kFreezeKey);
        connect(m_freezeKey.get(), &GlobalHotKey::activated, this, &PickerWindow::toggleFreeze);
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

    m_engine = std::make_unique<PickEngine>(
        m_sampler, PickEngine::Options{options.loupe, options.sampleSize, options.colorManaged});
    connect(m_engine.get(), &PickEngine::sampled, this, &PickerWindow::showSample);

    // Sampling starts with the window, not with a call. Where motion and
    // the screen's changes are reported, the loupe follows each move and
    // each change under it within the frame it happened in, and the timer
    // only catches the moves nothing reports (a program warping the
    // pointer), at the pace of a text caret's blink.
    if (m_engine->available() && options.makePointerWatch)
        m_pointerWatch = options.makePointerWatch();
    if (m_engine->available() && options.makeScreenChangeWatch)
        m_screenWatch = options.makeScreenChangeWatch();
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
    connect(timer, &QTimer::timeout, this, &PickerWindow::sampleUnderPointer);
    timer->start();
}

PickerWindow::~PickerWindow()
{
    // Also when the picker goes down with the main window without being
    // closed: the keys go back to the desktop. Nothing of the frame may
    // outlive the engine it reads.
    m_closed = true;
    unfreeze();
    discardPendingFrameParts(this);
    m_hotKey.unregisterKey();
}

void PickerWindow::grabNudgeKeys(const std::function<std::unique_ptr<GlobalHotKey>()> &makeHotKey)
{
    QStringList taken;
    for (const NudgeKey &nudge : kNudgeKeys) {
        std::unique_ptr<GlobalHotKey> key = makeHotKey();
        const HotKeyResult result =
            key->registerKey(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, nudge.key));
        if (result == HotKeyResult::Registered) {
            connect(key.get(), &GlobalHotKey::activated, this,
                    [this, step = nudge.step] { nudgePointer(step); });
            m_nudgeKeys.push_back(std::move(key));
        } else if (result == HotKeyResult::Taken) {
            taken << QString::fromUtf8(nudge.name);
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

void PickerWindow::setNotice(const QString &text, const QString &details)
{
    // What is under way now says more than where the last colour went; the
    // same notice again (the desktop confirming its key) does not.
    const bool same = text == m_noticeText && details == m_noticeDetails;
    if (m_storedShown && m_storedShown->isActive() && same)
        return;
    if (m_storedShown)
        m_storedShown->stop();
    m_noticeText = text;
    m_noticeDetails = details;
    showNotice(text, details);
}

void PickerWindow::showNotice(const QString &text, const QString &details)
{
    m_notice->setToolTip(details);
    m_notice->setText(text.isEmpty() ? text : compactLines(text));
    announceName(m_notice, QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void PickerWindow::sayStored(int slot, Rgb color)
{
    // The main window is out of sight while the picker is open: the picker
    // says where the colour went, for a moment, and then what it said before.
    if (!m_storedShown) {
        m_storedShown = new QTimer(this);
        m_storedShown->setSingleShot(true);
        m_storedShown->setInterval(kStoredNoticeMs);
        connect(m_storedShown, &QTimer::timeout, this,
                [this] { showNotice(m_noticeText, m_noticeDetails); });
    }
    const QString said =
        QStringLiteral("已存入颜色 %1：%2").arg(slot).arg(toQColor(color).name().toUpper());
    showNotice(said, {});
    m_storedShown->start();
}

void PickerWindow::showColor(Rgb color)
{
    m_shownColor = color;
    QPalette p = m_swatch->palette();
    p.setColor(QPalette::Window, toQColor(color));
    m_swatch->setPalette(p);
}

void PickerWindow::sampleUnderPointer()
{
    // Unreported changes under a resting pointer are caught by reading it
    // again, once there is something to compare.
    if (m_engine)
        m_engine->update(!m_screenWatched && m_engine->lastColor());
}

void PickerWindow::showSample(QPoint pointer, std::optional<Rgb> color,
                              const DisplayProfile *profile)
{
    m_positionLabel->setText(QStringLiteral("光标位置：%1,%2").arg(pointer.x()).arg(pointer.y()));
    announceName(m_positionLabel, m_positionLabel->text());
    m_positionLabel->adjustSize();
    const QString managed =
        profile ? QStringLiteral("按显示器色彩配置“%1”换算成的 sRGB 值").arg(profile->description())
                : QString();
    m_colorLabel->setToolTip(managed);
    m_swatch->setToolTip(managed);
    // A square that cannot be read at all leaves the swatch showing what it
    // showed.
    const Rgb shown = color.value_or(m_shownColor);
    showColorCode(shown);
    showColor(shown);
}

void PickerWindow::showColorCode(Rgb color)
{
    // Red, green, blue, as the loupe and every web colour code reads them.
    m_colorLabel->setText(QStringLiteral("RGB颜色：") +
                          toQColor(color).name(QColor::HexRgb).mid(1).toUpper());
    announceName(m_colorLabel, m_colorLabel->text());
    m_colorLabel->adjustSize();
}

void PickerWindow::nudgePointer(QPoint step)
{
    if (m_engine)
        m_engine->step(step);
}

int PickerWindow::sampleSize() const
{
    if (m_engine)
        return m_engine->sampleSize();
    // The desktop's own pick is one pixel; a frame it gives is averaged
    // as the live screen is.
    return m_frames && !m_framesRefused ? sampleSizeFromSetting(m_options.sampleSize) : 1;
}

void PickerWindow::setSampleSize(int size)
{
    m_options.sampleSize = size;
    if (m_engine)
        m_engine->setSampleSize(size);
}

void PickerWindow::buildMenu()
{
    m_menu = new QMenu(this);
    QMenu *sizes = m_menu->addMenu(QStringLiteral("取样大小"));
    sizes->setObjectName(QStringLiteral("menuSampleSize"));
    auto *group = new QActionGroup(sizes);
    for (const SampleSizeItem &item : kSampleSizeItems) {
        QAction *action = sizes->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        action->setData(item.size);
        // The desktop's own pick is one pixel: there is no square to average.
        action->setEnabled(!m_desktop || (m_frames && !m_framesRefused));
        group->addAction(action);
    }
    connect(group, &QActionGroup::triggered, this, [this](QAction *action) {
        setSampleSize(action->data().toInt());
        emit sampleSizeChosen(sampleSize());
    });
    // Where the desktop picks one pixel itself there is nothing to magnify,
    // and it publishes no monitor profile to go by.
    QAction *loupe = m_menu->addAction(QStringLiteral("显示放大镜"), this, [this](bool on) {
        m_options.loupe = on;
        if (m_engine && !m_desktop)
            m_engine->setLoupe(on);
        emit loupeChosen(on);
    });
    loupe->setObjectName(QStringLiteral("menuLoupe"));
    loupe->setCheckable(true);
    loupe->setChecked(m_options.loupe);
    loupe->setEnabled(!m_desktop || (m_frames && !m_framesRefused));
    QAction *managed = m_menu->addAction(QStringLiteral("色彩管理"), this, [this](bool on) {
        m_options.colorManaged = on;
        if (m_engine && !m_desktop)
            m_engine->setColorManaged(on);
        emit colorManagementChosen(on);
    });
    managed->setObjectName(QStringLiteral("menuColorManaged"));
    managed->setCheckable(true);
    managed->setChecked(m_options.colorManaged);
    managed->setEnabled(!m_desktop);
    m_menu->addSeparator();
    // Freezing needs the whole screen and the pointer to itself.
    const bool canFreeze =
        (m_engine && m_engine->available() && m_options.makeGrab) || (m_frames && !m_framesRefused);
    QAction *freezeNow = m_menu->addAction(QStringLiteral("冻结屏幕\tAlt+Shift+F"), this,
                                           &PickerWindow::toggleFreeze);
    freezeNow->setObjectName(QStringLiteral("menuFreeze"));
    freezeNow->setEnabled(canFreeze);
    QMenu *later = m_menu->addMenu(QStringLiteral("延时冻结"));
    later->setObjectName(QStringLiteral("menuFreezeLater"));
    later->setEnabled(canFreeze);
    for (int seconds : kFreezeDelays) {
        QAction *action = later->addAction(QStringLiteral("%1 秒").arg(seconds), this,
                                           [this, seconds] { freezeLater(seconds); });
        action->setObjectName(QStringLiteral("menuFreeze%1").arg(seconds));
    }
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("关闭取色\tEsc"), this, &QWidget::close)
        ->setObjectName(QStringLiteral("menuClosePicker"));
    // The loupe would draw over the menu.
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        if (m_engine)
            m_engine->setLoupeHidden(true);
    });
    connect(m_menu, &QMenu::aboutToHide, this, [this] {
        if (m_engine)
            m_engine->setLoupeHidden(false);
    });
}

void PickerWindow::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_menu)
        buildMenu();
    for (QAction *action : m_menu->findChild<QMenu *>(QStringLiteral("menuSampleSize"))->actions())
        action->setChecked(action->data().toInt() == sampleSize());
    // Not exec(): the picker keeps sampling and its keys keep working.
    m_menu->popup(event->globalPos());
}

void PickerWindow::storeColor()
{
    if (!m_engine)
        return;
    // What lies under the pointer at the press, read now: a hover colour
    // drawn after the last look, or a pointer a program moved, is what the
    // user sees. Nothing is stored where nothing could be read; the swatch's
    // colour at opening was never on the screen, and white would empty the
    // slot.
    bool retry = false;
    if (const std::optional<Rgb> color = m_engine->pickNow(&retry)) {
        capture(*color);
    } else if (retry) {
        // The loupe was over the pointer and has moved off: once the window
        // beneath has drawn itself again, that is read.
        QTimer::singleShot(PickEngine::kRedrawDelayMs, this, [this] {
            if (const std::optional<Rgb> color = m_engine ? m_engine->pickNow() : std::nullopt)
                capture(*color);
        });
    }
}

void PickerWindow::capture(Rgb color)
{
    const int slot = m_colorBox.captureTarget();
    m_colorBox.storeCapture(color);
    sayStored(slot, color);
}

void PickerWindow::capture()
{
    if (m_desktop)
        startDesktopPick();
    else
        storeColor();
}

void PickerWindow::toggleFreeze()
{
    if (m_desktop && !m_frozen)
        startDesktopPick();
    else if (m_frozen)
        unfreeze();
    else
        freeze();
}

void PickerWindow::freezeLater(int seconds)
{
    if (!m_countdown) {
        m_countdown = new QTimer(this);
        m_countdown->setInterval(1000);
        connect(m_countdown, &QTimer::timeout, this, [this] {
            if (--m_secondsLeft > 0)
                setNotice(QStringLiteral("%1 秒后冻结屏幕").arg(m_secondsLeft));
            else
                freeze();
        });
    }
    unfreeze();
    m_secondsLeft = seconds;
    setNotice(QStringLiteral("%1 秒后冻结屏幕").arg(m_secondsLeft));
    m_countdown->start();
}

void PickerWindow::freeze()
{
    if (m_countdown)
        m_countdown->stop();
    if (m_desktop) {
        restoreNotice();
        startDesktopPick();
        return;
    }
    if (!m_engine || m_frozen || m_freezing)
        return;
    // Neither the loupe nor the picker is part of the screen: both go
    // first, and the frame is read once the windows beneath have drawn
    // themselves again. The picker comes back above the frame.
    m_freezing = true;
    m_engine->setLoupeHidden(true);
    if (m_menu)
        m_menu->hide();
    hide();
    QTimer::singleShot(PickEngine::kRedrawDelayMs, this, &PickerWindow::freezeNow);
}

void PickerWindow::freezeNow()
{
    m_freezing = false;
    if (m_closed)
        return;
    // The frame first, before anything of ours is back on the screen; then
    // the pointer and the keyboard, so that a click picks rather than
    // reaching the window under the frame.
    auto frozen = std::make_unique<FrozenScreen>(m_sampler);
    auto grab = m_options.makeGrab && !frozen->isNull() ? m_options.makeGrab() : nullptr;
    if (frozen->isNull() || !grab || grab->grab() != GrabResult::Grabbed) {
        showAgain();
        setNotice(QStringLiteral("无法冻结屏幕"),
                  frozen->isNull() ? QStringLiteral("读不到整个屏幕。")
                                   : QStringLiteral("另一个程序占着指针或键盘。"));
        return;
    }
    m_frozen = std::move(frozen);
    m_grab = std::move(grab);
    listenToFrame(m_grab.get());
    m_frozen->show();
    m_engine->setFrame(m_frozen.get());
    // Its read-outs stay live over the frame, saying what the crosshair
    // rings. The frame stands above every window the desktop manages, so
    // meanwhile the picker is a panel of its own, where its contents were.
    m_managedAt = pos();
    const QPoint contents = geometry().topLeft();
    setWindowFlags(windowFlags() | kAboveFrameFlags);
    move(contents);
    showAgain();
    setNotice(QStringLiteral("已冻结，点击存储\nEsc返回实时画面"),
              QStringLiteral("屏幕已冻结：左键、回车或 Alt+Shift+S 存储颜色，方向键逐像素移动；"
                             "按住左键拖动或 Shift+方向键选出区域，量前景色对其中每个像素的对比度"
                             "（Ctrl+C 复制）；1–4 键看色觉模拟，0 键看真实画面；Ctrl+S 保存画面；"
                             "Esc、右键或 Alt+Shift+F 返回实时画面。"));
}

void PickerWindow::showAgain()
{
    show();
    raise();
    m_engine->setLoupeHidden(m_menu && m_menu->isVisible());
    m_engine->update(true);
}

void PickerWindow::listenToFrame(PointerGrab *input)
{
    FrameInspector::Pair pair;
    if (ColorPair *mainPair = m_options.pair) {
        pair.foreground = [mainPair] { return mainPair->foreground(); };
        pair.setBackground = [mainPair](Rgb c) { mainPair->setColor(PairRole::Background, c); };
    }
    m_inspector = std::make_unique<FrameInspector>(*m_frozen, *m_engine, *input, pair);
    connect(m_engine.get(), &PickEngine::sampled, m_inspector.get(),
            [this](QPoint pointer, std::optional<Rgb> color) {
                if (m_inspector) // not while it goes
                    m_inspector->sampled(pointer, color);
            });
    // A left click picks when it is let go, unless the pointer went far
    // enough to drag out a region.
    connect(input, &PointerGrab::buttonPressed, this, [this](Qt::MouseButton button, QPoint at) {
        if (m_inspector->buttonPressed(button, at))
            return;
        if (button == Qt::RightButton)
            unfreeze();
    });
    connect(input, &PointerGrab::buttonReleased, this, [this](Qt::MouseButton button, QPoint at) {
        if (!m_inspector->buttonReleased(button, at))
            frozenKey(Qt::Key_Return);
    });
    connect(input, &PointerGrab::keyPressed, this, &PickerWindow::frozenKey);
    // On the frame the loupe follows the pointer's motion, within the frame
    // it moved in, rather than the next tick.
    connect(input, &PointerGrab::pointerMoved, m_engine.get(), [this](QPoint at) {
        m_inspector->pointerMoved(at);
        m_engine->updateSoon();
    });
}

void PickerWindow::frozenKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (m_inspector && m_inspector->keyPressed(key, modifiers))
        return;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_S:
        storeColor();
        return;
    case Qt::Key_Escape:
    case Qt::Key_F:
        unfreeze();
        return;
    case Qt::Key_Left:
        m_engine->step({-1, 0});
        return;
    case Qt::Key_Right:
        m_engine->step({1, 0});
        return;
    case Qt::Key_Up:
        m_engine->step({0, -1});
        return;
    case Qt::Key_Down:
        m_engine->step({0, 1});
        return;
    default:
        return;
    }
}

void PickerWindow::unfreeze()
{
    if (m_countdown && m_countdown->isActive()) {
        m_countdown->stop();
        restoreNotice();
    }
    if (!m_frozen)
        return;
    // The frame leaves the screen and the pointer and keyboard go back at
    // once; the objects themselves go once the event at hand is over, for
    // the key or click that ends the frame came from one of them.
    FrameParts parts;
    if (m_grab)
        m_grab->release();
    for (QObject *input : {static_cast<QObject *>(m_grab.get()),
                           static_cast<QObject *>(m_frozen->input())}) {
        if (input)
            input->disconnect(this);
    }
    m_frozen->setVisible(false);
    parts.inspector = std::move(m_inspector);
    parts.grab = std::move(m_grab);
    if (m_desktop) {
        // The engine reads the frame: it goes with it.
        m_engine->disconnect(this);
        parts.engine = std::move(m_engine);
    } else {
        // The live screen is read again once the windows the frame covered
        // have drawn themselves.
        m_engine->setFrame(nullptr);
    }
    parts.frame = std::move(m_frozen);
    destroyAfterEvent(this, std::move(parts));
    if (windowFlags() & Qt::X11BypassWindowManagerHint) {
        setWindowFlags(windowFlags() & ~kAboveFrameFlags);
        move(m_managedAt);
        if (!m_closed)
            show();
    }
    restoreNotice();
    emit frameClosed();
}

void PickerWindow::restoreNotice()
{
    if (m_desktop)
        showDesktopNotice();
    else
        setNotice(m_hint, m_hintDetails);
}

void PickerWindow::closeEvent(QCloseEvent *event)
{
    m_closed = true;
    unfreeze();
    if (m_engine)
        m_engine->setLoupeHidden(true);
    emit closed();
    m_hotKey.unregisterKey();
    m_nudgeKeys.clear();
    // The desktop's key goes back, and a pick under way is called off.
    m_desktop.reset();
    event->accept();
}

void PickerWindow::keyPressEvent(QKeyEvent *event)
{
    // The frozen frame has Escape for itself.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !m_frozen)
        close();
    else
        QWidget::keyPressEvent(event);
}

void PickerWindow::setUpDesktopPicking()
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
    connect(button, &QPushButton::clicked, this, &PickerWindow::pickButtonClicked);

    connect(m_desktop.get(), &DesktopPicking::picked, this, &PickerWindow::finishDesktopPick);
    connect(m_desktop.get(), &DesktopPicking::keyPressed, this, &PickerWindow::startDesktopPick);
    connect(m_desktop.get(), &DesktopPicking::keyBound, this, [this](PickOutcome outcome) {
        m_desktopKey = outcome == PickOutcome::Success;
        m_keyNotBound = outcome == PickOutcome::Ended;
        if (!m_frozen)
            showDesktopNotice();
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
        connect(m_frames.get(), &FrameGrabber::grabbed, this, &PickerWindow::showDesktopFrame);
        connect(m_frames.get(), &FrameGrabber::failed, this, &PickerWindow::frameRefused);
    }
    showDesktopNotice();
    m_desktop->bindKey(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S),
                       QStringLiteral("存储当前颜色"), parentWindowId());
}

QString PickerWindow::parentWindowId()
{
    // The desktop puts its dialogs over the picker when it can name it; a
    // Wayland window would need a handle exported first, so it goes without.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return QStringLiteral("x11:%1").arg(winId(), 0, 16);
    return {};
}

void PickerWindow::startDesktopPick()
{
    if (m_frozen) {
        // The desktop's key on the frame stores, as it does live on X11.
        frozenKey(Qt::Key_S);
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
    showDesktopNotice();
    m_desktop->pick(parentWindowId());
}

void PickerWindow::pickButtonClicked()
{
    if (!m_waitingForScreenshot) {
        startDesktopPick();
        return;
    }
    m_frames->cancel();
    stopWaiting();
    m_pickCancelled = true;
    showDesktopNotice();
}

void PickerWindow::stopWaiting()
{
    m_waitingForScreenshot = false;
    m_pickButton->setText(kPickCaption);
}

void PickerWindow::showDesktopFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs)
{
    stopWaiting();
    auto frozen = std::make_unique<FrozenScreen>(frame, outputs);
    if (frozen->isNull() || !isVisible()) {
        if (frozen->isNull())
            frameRefused(PickOutcome::Failed);
        return;
    }
    m_frozen = std::move(frozen);
    m_engine = std::make_unique<PickEngine>(
        *m_frozen,
        PickEngine::Options{m_options.loupe, m_options.sampleSize, m_options.colorManaged, false});
    connect(m_engine.get(), &PickEngine::sampled, this, &PickerWindow::showSample);
    connect(m_engine.get(), &PickEngine::looked, this,
            [this](const LoupeContent &content) { m_frozen->showLoupe(content); });
    listenToFrame(m_frozen->input());
    m_frozen->show();
    m_frozen->input()->grab();
    m_engine->update(true);
    setNotice(QStringLiteral("已截取屏幕，点击存储\nEsc返回"),
              QStringLiteral("在截取的画面上：左键、回车或 Alt+Shift+S 存储十字线框住的颜色，"
                             "方向键逐像素移动；Esc 或右键返回。"));
}

void PickerWindow::frameRefused(PickOutcome outcome)
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
    m_framesTrouble =
        outcome == PickOutcome::Missing || outcome == PickOutcome::TooOld
            ? QStringLiteral("此桌面没有截图服务，无法放大、微移或取平均值。")
            : QStringLiteral("桌面的截图服务拒绝了请求或出错，无法放大、微移或取平均值。");
    showDesktopNotice();
    m_desktop->pick(parentWindowId());
}

void PickerWindow::finishDesktopPick(PickOutcome outcome, Rgb color)
{
    switch (outcome) {
    case PickOutcome::Success:
        showColorCode(color);
        showColor(color);
        showDesktopNotice();
        capture(color);
        return;
    case PickOutcome::Cancelled: // the user changed their mind: the way to try again stays
    case PickOutcome::Ended:     // "nothing this time" claims no cancel either
        m_pickCancelled = true;
        break;
    case PickOutcome::Failed:
        m_pickTrouble = QStringLiteral("取色服务出错，\n未能取色");
        break;
    case PickOutcome::Missing:
        m_pickTrouble = QStringLiteral("此桌面没有取色服务，\n无法取色");
        break;
    case PickOutcome::TooOld:
        m_pickTrouble = QStringLiteral("此桌面的取色服务\n版本过旧，不支持取色");
        break;
    case PickOutcome::NoAnswer:
        m_pickTrouble = QStringLiteral("取色服务没有应答，\n未能取色");
        break;
    }
    showDesktopNotice();
}

void PickerWindow::showDesktopNotice()
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
