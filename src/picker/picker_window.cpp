#include "picker/picker_window.h"

#include "picker/loupe_window.h"

#include "colorbox/color_box_model.h"
#include "common/app_icon.h"
#include "common/control_table.h"
#include "common/interface_font.h"
#include "common/qt_color.h"
#include "platform/desktop_picking.h"
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace tintavo {

namespace {

using K = ControlKind;

// lblData(1..3) are kept hidden; scripts that look for them still find them.
const ControlSpec kControls[] = {
    {"lblData(0)", K::Label, nullptr, {30, 30, 1575, 255}},
    {"lblData(1)", K::Label, nullptr, {210, 300, 1455, 255}},
    {"lblData(2)", K::Label, nullptr, {180, 585, 1470, 255}},
    {"lblData(3)", K::Label, nullptr, {210, 870, 1440, 255}},
    {"lblData(4)", K::Label, nullptr, {45, 360, 1500, 255}},
    {"Label1", K::Label, nullptr, {150, 1125, 1440, 405}, "按Alt+Shift+S存储当前颜色"},
    {"Picture1", K::PictureBox, nullptr, {1680, 30, 1800, 1485}},
};

constexpr TwipsRect kClientArea{0, 0, 3495, 1545};
constexpr int kSampleIntervalMs = 50;

} // namespace

PickerWindow::PickerWindow(ColorBoxModel &colorBox, ScreenSampler &sampler, GlobalHotKey &hotKey,
                           std::unique_ptr<DesktopPicking> desktopPicking, bool withLoupe)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_colorBox(colorBox), m_sampler(sampler), m_hotKey(hotKey),
      m_desktop(std::move(desktopPicking))
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("鼠标取色"));
    setWindowIcon(appIcon());
    setFixedSize(toPixels(kClientArea).size());

    const auto controls = buildControls(this, kControls);
    // Every data label starts at the left margin and grows to its text.
    for (int i = 0; i < 5; ++i) {
        QWidget *label = controls.value(QStringLiteral("lblData(%1)").arg(i));
        label->move(twipsToPixels(30), label->y());
    }
    for (int i : {1, 2, 3})
        controls.value(QStringLiteral("lblData(%1)").arg(i))->hide();
    m_positionLabel = qobject_cast<QLabel *>(controls.value(QStringLiteral("lblData(0)")));
    m_colorLabel = qobject_cast<QLabel *>(controls.value(QStringLiteral("lblData(4)")));
    m_notice = qobject_cast<QLabel *>(controls.value(QStringLiteral("Label1")));
    // A four-digit position fits beside the swatch, and a notice in the
    // hint's two lines, only a size below the interface font.
    for (int i : {0, 1, 2, 3, 4})
        controls.value(QStringLiteral("lblData(%1)").arg(i))->setFont(compactInterfaceFont());
    m_notice->setFont(compactInterfaceFont());
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_notice->setMargin(0);
    m_swatch = controls.value(QStringLiteral("Picture1"));
    // The swatch starts in the desktop's window colour.
    showColor(fromQColor(palette().color(QPalette::Base)));
    if (m_desktop) {
        setUpDesktopPicking();
        return;
    }

    connect(&m_hotKey, &GlobalHotKey::activated, this, &PickerWindow::storeColor);
    const HotKeyResult registration =
        m_hotKey.registerKey(QKeyCombination(Qt::AltModifier | Qt::ShiftModifier, Qt::Key_S));

    // Say so when the desktop denies the picker its key or the screen, rather
    // than inviting a key press that does nothing or showing colours that are
    // not there.
    if (!m_sampler.available())
        setNotice(QStringLiteral("无法读取屏幕，\n取色不可用"));
    else if (registration == HotKeyResult::Taken)
        setNotice(QStringLiteral("Alt+Shift+S\n已被其他程序占用"));
    else if (registration == HotKeyResult::Unsupported)
        setNotice(QStringLiteral("不支持全局热键，\n无法存储颜色"));
    else
        setNotice(m_notice->text());

    // Where the screen cannot be read there is nothing to magnify.
    if (withLoupe && m_sampler.available())
        m_loupe = std::make_unique<LoupeWindow>();

    // Sampling starts with the window, not with a call.
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(kSampleIntervalMs);
    connect(timer, &QTimer::timeout, this, &PickerWindow::sampleUnderPointer);
    timer->start();
}

PickerWindow::~PickerWindow()
{
    // Also when the picker goes down with the main window without being
    // closed: the key goes back to the desktop.
    m_hotKey.unregisterKey();
}

void PickerWindow::setNotice(const QString &text)
{
    // Two lines fit the notice's height only with lines set closer than the
    // CJK font's own spacing. A notice breaks where it says, between words.
    m_notice->setText(
        QStringLiteral(
            "<p style=\"margin: 0; line-height: 13px; -qt-line-height-type: fixed\">%1</p>")
            .arg(text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"))));
}

void PickerWindow::showColor(ColorValue color)
{
    m_shownColor = color;
    QPalette p = m_swatch->palette();
    p.setColor(QPalette::Window, toQColor(color));
    m_swatch->setPalette(p);
}

void PickerWindow::sampleUnderPointer()
{
    if (!m_sampler.available())
        return;
    const QPoint pointer = m_sampler.pointerPosition();
    if (pointer == m_lastPointer)
        return;
    m_lastPointer = pointer;
    m_positionLabel->setText(QStringLiteral("光标位置：%1,%2").arg(pointer.x()).arg(pointer.y()));
    m_positionLabel->adjustSize();

    // One read serves the swatch and the loupe, so that the loupe's centre is
    // always the colour Alt+Shift+S stores. A pixel that cannot be read
    // leaves the swatch showing what it showed.
    const int radius = m_loupe ? LoupeWindow::kRadius : 0;
    const auto pixels = m_sampler.pixelColors(pointer, radius);
    const ColorValue color = pixels[pixels.size() / 2].value_or(m_shownColor);
    if (m_loupe)
        m_loupe->showPixels(pointer, pixels);
    showColorCode(color);
    showColor(color);
}

void PickerWindow::showColorCode(ColorValue color)
{
    // The digits read blue, green, red: the stored colour value in hexadecimal.
    m_colorLabel->setText(QStringLiteral("RGB颜色：") + QString::number(color, 16).toUpper());
    m_colorLabel->adjustSize();
}

void PickerWindow::storeColor()
{
    // The slot wraps only when a capture comes after the last swatch was
    // written, so between captures it may hold the swatch count.
    qint32 &slot = m_colorBox.nextCaptureSlot;
    if (!m_colorBox.contains(slot))
        slot = 0;
    m_colorBox.setColor(slot, m_shownColor);
    ++slot;
}

void PickerWindow::closeEvent(QCloseEvent *event)
{
    if (m_loupe)
        m_loupe->hide();
    emit closed();
    m_hotKey.unregisterKey();
    // The desktop's key goes back, and a pick under way is called off.
    m_desktop.reset();
    event->accept();
}

void PickerWindow::setUpDesktopPicking()
{
    // Nothing follows the pointer here: the notice takes the position's
    // place, and the button 取色 sits under the colour code.
    m_positionLabel->hide();
    m_notice->setGeometry(toPixels(TwipsRect{30, 30, 1575, 840}));
    m_colorLabel->move(twipsToPixels(30), twipsToPixels(885));
    auto *button = new QPushButton(QStringLiteral("取色"), this);
    button->setObjectName(QStringLiteral("cmdPick"));
    button->setGeometry(toPixels(TwipsRect{30, 1170, 1575, 345}));
    connect(button, &QPushButton::clicked, this, &PickerWindow::startDesktopPick);

    connect(m_desktop.get(), &DesktopPicking::picked, this, &PickerWindow::finishDesktopPick);
    connect(m_desktop.get(), &DesktopPicking::keyPressed, this, &PickerWindow::startDesktopPick);
    connect(m_desktop.get(), &DesktopPicking::keyBound, this, [this](PickOutcome outcome) {
        m_desktopKey = outcome == PickOutcome::Success;
        showDesktopNotice();
    });
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
    if (!m_desktop || m_desktop->picking())
        return;
    m_pickTrouble.clear();
    showDesktopNotice();
    m_desktop->pick(parentWindowId());
}

void PickerWindow::finishDesktopPick(PickOutcome outcome, ColorValue color)
{
    switch (outcome) {
    case PickOutcome::Success:
        showColorCode(color);
        showColor(color);
        storeColor();
        break;
    case PickOutcome::Cancelled: // the user changed their mind: nothing to say
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
    if (!m_pickTrouble.isEmpty())
        setNotice(m_pickTrouble);
    else if (m_desktopKey)
        setNotice(
            QStringLiteral("无法跟随光标取色。\n按Alt+Shift+S或\n“取色”，再点选\n屏幕上的颜色"));
    else
        setNotice(
            QStringLiteral("无法跟随光标取色，\n也没有全局热键。\n按“取色”，再点选\n屏幕上的颜色"));
}

} // namespace tintavo
