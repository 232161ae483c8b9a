#include "picker/picker_window.h"

#include "colorbox/color_box_model.h"
#include "common/app_icon.h"
#include "common/control_table.h"
#include "common/interface_font.h"
#include "common/qt_color.h"
#include "mainwin/main_window.h"
#include "picker/save_pixel_color.h"
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTextDocument>
#include <QTimer>

namespace tintavo {

namespace {

using K = ControlKind;

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

} // namespace

QString PickerWindow::keyTakenText()
{
    return QStringLiteral("Alt+Shift+S\n已被其他程序占用");
}

QString PickerWindow::keyUnavailableText()
{
    return QStringLiteral("不支持全局热键，\n无法存储颜色");
}

QString PickerWindow::screenUnavailableText()
{
    return QStringLiteral("无法读取屏幕，\n取色不可用");
}

PickerWindow::PickerWindow(MainWindow &mainWindow, ScreenSampler &sampler, GlobalHotKey &hotKey)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      m_mainWindow(mainWindow), m_sampler(sampler), m_hotKey(hotKey)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("鼠标取色"));
    setWindowIcon(appIcon());
    setFixedSize(toPixels(kClientArea).size());

    const auto controls = buildControls(this, kControls);
    for (int i = 0; i < 5; ++i)
        m_lblData[i] = qobject_cast<QLabel *>(controls.value(QStringLiteral("lblData(%1)").arg(i)));
    for (int i : {1, 2, 3})
        m_lblData[i]->hide();
    m_label1 = qobject_cast<QLabel *>(controls.value(QStringLiteral("Label1")));
    // A four-digit position fits beside the swatch, and a notice in the
    // hint's two lines, only a size below the interface font.
    for (QLabel *label : m_lblData)
        label->setFont(compactInterfaceFont());
    m_label1->setFont(compactInterfaceFont());
    m_label1->setWordWrap(true);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label1->setMargin(0);
    setNotice(m_label1->text());
    m_picture1 = controls.value(QStringLiteral("Picture1"));
    // The swatch starts in the desktop's window colour.
    setPictureColor(fromQColor(palette().color(QPalette::Base)));

    Form_Load();

    // Sampling starts with the window, not with a call.
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(50);
    connect(m_timer1, &QTimer::timeout, this, &PickerWindow::Timer1_Timer);
    m_timer1->start();
}

PickerWindow::~PickerWindow()
{
    // Going down with the main window skips the unload step, but the key is
    // given back to the desktop all the same.
    if (m_installed)
        mm1::remove(m_hotKey, {m_hWnd, &m_wndProc});
}

void PickerWindow::Form_Load()
{
    for (QLabel *label : m_lblData)
        label->move(twipsToPixels(30), label->y());

    // The window procedure every message of the picker goes through; the
    // hot-key module puts its own in front of it.
    m_hWnd = winId();
    m_wndProc = [](quintptr, quint32, quint32, qint32) { return 0; };
    connect(&m_hotKey, &GlobalHotKey::hotKeyMessage, this,
            [this](quintptr hWnd, quint32 uMsg, quint32 wParam, qint32 lParam) {
                if (hWnd == m_hWnd && m_wndProc)
                    m_wndProc(hWnd, uMsg, wParam, lParam);
            });
    const HotKeyRegistration registration =
        mm1::install(m_hotKey, {m_hWnd, &m_wndProc}, [this] { SavePixelColor(); });
    m_installed = true;

    // Say so when the desktop denies the picker its key or the screen,
    // rather than inviting a key press that does nothing or showing colours
    // that are not there.
    if (!m_sampler.available())
        setNotice(screenUnavailableText());
    else if (registration.result == HotKeyResult::Taken)
        setNotice(keyTakenText());
    else if (registration.result == HotKeyResult::NotAvailable)
        setNotice(keyUnavailableText());
}

QString PickerWindow::notice() const
{
    QTextDocument document;
    document.setHtml(m_label1->text());
    return document.toPlainText().replace(QChar::LineSeparator, QLatin1Char('\n'));
}

void PickerWindow::setNotice(const QString &text)
{
    // Two lines fit the notice's height only with lines set closer than the
    // CJK font's own spacing. A notice breaks where it says, between words.
    m_label1->setText(
        QStringLiteral(
            "<p style=\"margin: 0; line-height: 13px; -qt-line-height-type: fixed\">%1</p>")
            .arg(text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"))));
}

void PickerWindow::setLabel(int index, const QString &text)
{
    m_lblData[index]->setText(text);
    m_lblData[index]->adjustSize();
}

void PickerWindow::setPictureColor(ColorValue color)
{
    m_pictureColor = color;
    QPalette p = m_picture1->palette();
    p.setColor(QPalette::Window, toQColor(color));
    m_picture1->setPalette(p);
}

void PickerWindow::Timer1_Timer()
{
    if (!m_sampler.available())
        return;
    const QPoint p = m_sampler.cursorPos();
    if (p == ptLastCursor)
        return;
    ptLastCursor = p;
    setLabel(0, QStringLiteral("光标位置：%1,%2").arg(p.x()).arg(p.y()));

    const quintptr h = m_sampler.windowFromPoint(p);
    setLabel(1, QString::number(h));
    // X11 has no device context: the pixel is read through the window itself.
    setLabel(2, QString::number(h));
    const QPoint client = m_sampler.screenToClient(h, p);
    setLabel(3, QStringLiteral("位置：%1,%2").arg(client.x()).arg(client.y()));

    ColorValue c = m_sampler.pixelAt(h, client);
    if (c == kClrInvalid) {
        // Nothing could be read there: the swatch keeps what it shows.
        c = m_pictureColor;
    }
    setLabel(4, QStringLiteral("RGB颜色：") + QString::number(c, 16).toUpper());
    setPictureColor(c);
}

void PickerWindow::SavePixelColor()
{
    ColorBoxModel &box = m_mainWindow.colorBox();
    tintavo::SavePixelColor(box.lPicIndex, box.count(),
                            [&box, this](qint32 index) { box.setColor(index, m_pictureColor); });
}

void PickerWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void PickerWindow::Form_Unload()
{
    m_mainWindow.show();
    m_mainWindow.setWindowState(Qt::WindowMaximized);
    mm1::remove(m_hotKey, {m_hWnd, &m_wndProc});
    m_installed = false;
}

} // namespace tintavo
