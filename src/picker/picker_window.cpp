#include "picker/picker_window.h"

#include "picker/frozen_screen.h"
#include "picker/live_picker.h"
#include "picker/pick_engine.h"
#include "picker/portal_picker.h"

#include "color/color_pair.h"
#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "colorbox/color_box_write.h"
#include "common/announce.h"
#include "common/control_table.h"
#include "common/interface_font.h"
#include "platform/desktop_picking.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWheelEvent>

namespace tintavo {

namespace {

using K = ControlKind;

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
// What the picker adds to its flags while it shows above a frozen frame.
constexpr Qt::WindowFlags kAboveFrameFlags =
    Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint;

// How long the notice says where a colour went.
constexpr int kStoredNoticeMs = 3000;

// Two lines fit a label's height only with lines set closer than the CJK
// font's own spacing. A text breaks where it says, between words.
QString compactLines(const QString &text)
{
    return QStringLiteral(
               "<p style=\"margin: 0; line-height: 13px; -qt-line-height-type: fixed\">%1</p>")
        .arg(text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")));
}

} // namespace

std::unique_ptr<PickerWindow> createPicker(ColorBoxModel &colorBox, ScreenSampler &sampler,
                                           GlobalHotKey &hotKey,
                                           std::unique_ptr<DesktopPicking> desktopPicking,
                                           PickerOptions options)
{
    if (desktopPicking)
        return std::make_unique<PortalPicker>(colorBox, std::move(desktopPicking), options);
    return std::make_unique<LivePicker>(colorBox, sampler, hotKey, options);
}

PickerWindow::PickerWindow(ColorBoxModel &colorBox, PickerOptions options)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_colorBox(colorBox), m_options(std::move(options))
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("鼠标取色"));
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
}

PickerWindow::~PickerWindow() = default;

void PickerWindow::closeForGood()
{
    // Also when the picker goes down with the main window without being
    // closed. Nothing of the frame may outlive the engine it reads.
    m_closed = true;
    unfreeze();
    discardPendingFrameParts(this);
}

PickEngine *PickerWindow::engine() const
{
    return m_session ? &m_session->engine() : liveEngine();
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

void PickerWindow::showSample(QPoint pointer, std::optional<Rgb> color,
                              const DisplayProfile *profile)
{
    // The live screen's engine goes on looking under a picture's frame.
    if (sender() && sender() != engine())
        return;
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

int PickerWindow::sampleSize() const
{
    if (PickEngine *reading = engine())
        return reading->sampleSize();
    // The desktop's own pick is one pixel; a frame it gives is averaged
    // as the live screen is.
    return averages() ? m_options.picking.sampleSize : 1;
}

void PickerWindow::setSampleSize(int size)
{
    m_options.picking.sampleSize = size;
    if (PickEngine *reading = engine())
        reading->setSampleSize(size);
}

void PickerWindow::storeColor()
{
    if (!engine())
        return;
    // What lies under the pointer at the press, read now: a hover colour
    // drawn after the last look, or a pointer a program moved, is what the
    // user sees. Nothing is stored where nothing could be read; the swatch's
    // colour at opening was never on the screen, and white would empty the
    // slot.
    bool retry = false;
    if (const std::optional<Rgb> color = engine()->pickNow(&retry)) {
        store(*color);
    } else if (retry) {
        // The loupe was over the pointer and has moved off: once the window
        // beneath has drawn itself again, that is read.
        QTimer::singleShot(PickEngine::kRedrawDelayMs, this, [this] {
            if (const std::optional<Rgb> color = engine() ? engine()->pickNow() : std::nullopt)
                store(*color);
        });
    }
}

void PickerWindow::store(Rgb color)
{
    const int slot = m_colorBox.captureTarget();
    m_colorBox.storeCapture(color);
    sayStored(slot, color);
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

bool PickerWindow::stopCountdown()
{
    const bool counting = m_countdown && m_countdown->isActive();
    if (m_countdown)
        m_countdown->stop();
    return counting;
}

void PickerWindow::toggleFreeze()
{
    if (m_session)
        unfreeze();
    else
        freeze();
}

bool PickerWindow::menuShown() const
{
    return m_menu && m_menu->isVisible();
}

void PickerWindow::hideMenu()
{
    if (m_menu)
        m_menu->hide();
}

FrameSession::Setup PickerWindow::frameSetup() const
{
    FrameInspector::Pair pair;
    if (ColorPair *mainPair = m_options.pair) {
        pair.foreground = [mainPair] { return mainPair->foreground(); };
        pair.setBackground = [mainPair](Rgb c) { mainPair->setColor(PairRole::Background, c); };
    }
    if (QuestionService *questions = m_options.questions) {
        pair.storeColors = [this, questions](const std::vector<Rgb> &colors) {
            const int first = m_colorBox.captureTarget();
            const BoxWrite write = writeColorsAsking(m_colorBox, first, colors, *questions,
                                                     QStringLiteral("提取主色"));
            if (write.cancelled)
                return QStringLiteral("颜色盒没有改动");
            QString said = QStringLiteral("%1 种颜色已写入颜色盒，从第 %2 格起（可撤销）")
                               .arg(write.written)
                               .arg(first + 1);
            if (!write.leftOut.isEmpty())
                said += u'\n' + write.leftOut;
            return said;
        };
    }
    return {.pickerKeys = true, .inspect = pair};
}

void PickerWindow::openSession(FrameSession *session)
{
    m_session = session;
    connect(&session->engine(), &PickEngine::loupeCellsChanged, this, &PickerWindow::useLoupeCells,
            Qt::UniqueConnection);
    connect(session, &FrameSession::pickWanted, this, &PickerWindow::storeColor);
    connect(session, &FrameSession::endWanted, this, &PickerWindow::unfreeze);
    session->start();
}

void PickerWindow::openPicture(const LoadedPicture &picture, QScreen *monitor)
{
    stopCountdown();
    unfreeze();
    // The picture's pixels are sRGB once loaded: no monitor's profile
    // applies to them.
    PickSettings settings = m_options.picking;
    settings.colorManaged = false;
    auto *session = new FrameSession(this, std::make_unique<FrozenScreen>(picture, monitor),
                                     settings, frameSetup());
    connect(&session->engine(), &PickEngine::sampled, this, &PickerWindow::showSample);
    // The live screen's loupe would show over the picture.
    if (PickEngine *live = liveEngine())
        live->setLoupeHidden(true);
    connect(session, &FrameSession::started, this, [this] {
        // Over the picture as over a frozen screen: a panel above it where
        // the desktop lets the picker stand above others.
        if (liveEngine())
            showAboveFrame();
        show();
        raise();
        setNotice(QStringLiteral("图片取色，点击存储\nEsc返回"),
                  QStringLiteral(
                      "在图片上：左键、回车或 Alt+Shift+S 存储颜色，方向键逐像素移动；"
                      "Ctrl+滚轮或 Ctrl+= / Ctrl+- 缩放，Ctrl+0 回到 100%；滚轮、"
                      "Shift+滚轮、空格+拖动或中键拖动平移；按住左键拖动选出区域量对比度；"
                      "1–4 键看色觉模拟，0 键看原图；右键菜单提取主色；Alt+滚轮改变放大镜格数；"
                      "Ctrl+S 保存画面；Esc 返回。"));
    });
    openSession(session);
}

void PickerWindow::showAboveFrame()
{
    // Its read-outs stay live over the frame, saying what the crosshair
    // rings. The frame stands above every window the desktop manages, so
    // meanwhile the picker is a panel of its own, where its contents were.
    m_managedAt = pos();
    const QPoint contents = geometry().topLeft();
    setWindowFlags(windowFlags() | kAboveFrameFlags);
    move(contents);
}

void PickerWindow::unfreeze()
{
    if (stopCountdown())
        restoreNotice();
    FrameSession *session = std::exchange(m_session, nullptr);
    if (!session)
        return;
    // The frame leaves the screen and the pointer and keyboard go back at
    // once; the parts themselves go once the event at hand is over.
    session->end();
    if (PickEngine *live = liveEngine(); live && live != &session->engine())
        live->setLoupeHidden(menuShown());
    if (windowFlags() & Qt::X11BypassWindowManagerHint) {
        setWindowFlags(windowFlags() & ~kAboveFrameFlags);
        move(m_managedAt);
        if (!m_closed)
            show();
    }
    restoreNotice();
    emit frameClosed();
}

void PickerWindow::wheelEvent(QWheelEvent *event)
{
    // One cell count a notch, however fine the wheel's steps.
    m_wheelPending += event->angleDelta().y();
    const int steps = m_wheelPending / 120;
    m_wheelPending %= 120;
    if (PickEngine *picking = engine(); picking && steps != 0)
        picking->stepLoupeCells(steps);
}

void PickerWindow::useLoupeCells(int cells)
{
    m_options.picking.loupeCells = cells;
    if (PickEngine *live = liveEngine(); live && live->loupeCells() != cells)
        live->setLoupeCells(cells);
    emit loupeCellsChosen(cells);
}

void PickerWindow::closeEvent(QCloseEvent *event)
{
    m_closed = true;
    unfreeze();
    if (PickEngine *live = liveEngine())
        live->setLoupeHidden(true);
    emit closed();
    closing();
    event->accept();
}

void PickerWindow::keyPressEvent(QKeyEvent *event)
{
    // The frozen frame has Escape for itself.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !m_session)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace tintavo
