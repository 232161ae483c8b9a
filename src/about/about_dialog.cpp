#include "about/about_dialog.h"

#include "about/about_logo.h"
#include "common/control_table.h"
#include "desktop/message_boxes.h"
#include "desktop/system_info.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <array>

namespace tintavo {

const QString AboutDialog::kWebSiteUrl = QStringLiteral("http://www.kelmira.example/");
const QString AboutDialog::kForumUrl = QStringLiteral("http://bbs.kelmira.example/forum-12-1.html");

namespace {

// The maker's details; the addresses are the ones the links open.
constexpr const char *kCredit = "作者：柯米拉";
constexpr const char *kWebSiteCaption = "网站：www.kelmira.example";
constexpr const char *kContact = "KelTalk 号：33081275";
constexpr const char *kFeedback = "如果您对此软件有任何改进的建议或意见，请在我的论坛里提出：";
constexpr const char *kForumCaption = "http://bbs.kelmira.example/\nforum-12-1.html";
constexpr const char *kDisclaimer =
    "本软件为免费软件，您可以自由使用和传播，但不得以任何形式对其进行拆解或反向工程，"
    "也不得将其用于任何商业用途。";

using K = ControlKind;
using A = AboutDialog::Controls;
// clang-format off
const ControlRow<A> kControls[] = {
    {"Image1",         K::Label,         nullptr, {210, 60, 2280, 2835},  "", "", -1, into<&A::logo>},
    {"lblTitle",       K::Label,         nullptr, {2820, 75, 2175, 255},   "Vantolux!", "", 5, into<&A::besideLogo, 0>},
    {"lblVersion",     K::Label,         nullptr, {2805, 375, 1425, 225},  "版本：0.76", "", 4, into<&A::besideLogo, 1>},
    {"lblDescription", K::Label,         nullptr, {2820, 675, 1185, 210},  kCredit, "", 2, into<&A::besideLogo, 2>},
    {"Label1",         K::Label,         nullptr, {2835, 1005, 2670, 255}, kWebSiteCaption, "", 6, into<&A::besideLogo, 3>},
    {"Label2",         K::Label,         nullptr, {2850, 1320, 2640, 255}, kContact, "", 7, into<&A::besideLogo, 4>},
    {"Label3",         K::Label,         nullptr, {2850, 1860, 2820, 525}, kFeedback, "", 8, into<&A::besideLogo, 5>},
    {"Label4",         K::Label,         nullptr, {2865, 2325, 2595, 510}, kForumCaption, "", 9, into<&A::besideLogo, 6>},
    {"lblDisclaimer",  K::Label,         nullptr, {150, 3090, 3630, 690},  kDisclaimer, "", 3, into<&A::disclaimer>},
    {"cmdOK",          K::PushButton,    nullptr, {4125, 3045, 1500, 345}, "确 定(&O)", "", 0, into<&A::ok>},
    {"cmdSysInfo",     K::PushButton,    nullptr, {4125, 3495, 1485, 345}, "系统信息(&S)...", "", 1, into<&A::systemInfo>},
};
// clang-format on

constexpr TwipsRect kClientArea{2340, 1935, 5850, 3945};

// The lines of the design are drawn on the window itself, so the pointer over
// them counts as the bare window area.
struct DesignLine
{
    int x1, y1, x2, y2; // twips
};
constexpr DesignLine kLine2{2850, 1740, 5565, 1740};
constexpr DesignLine kLine1_1{90, 2955, 5715, 2955};
constexpr DesignLine kLine1_0{165, 2970, 5714, 2970};

// A link is lit (blue, underlined) while the pointer is over it, and stays
// so until the pointer reaches the bare window area.
void setLinkLit(QLabel *link, bool lit)
{
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, lit ? QColor(0, 0, 255) : QColor(0, 0, 0));
    link->setPalette(palette);
    QFont font = link->font();
    font.setUnderline(lit);
    link->setFont(font);
}

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent, AboutServices services)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_services(std::move(services))
{
    setObjectName(QStringLiteral("frmAbout"));
    if (!m_services.messages)
        m_services.messages = std::make_shared<MessageBoxService>(this);
    if (!m_services.urls)
        m_services.urls = std::make_shared<DesktopUrlOpener>();

    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("关于[Kelmira]"));

    // Placed as designed rather than centred: the client area's top-left at a
    // fixed spot of the desktop.
    const QRect client = toPixels(kClientArea);
    setFixedSize(client.size());
    QPoint origin;
    qreal ratio = 1;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        origin = screen->geometry().topLeft();
        ratio = screen->devicePixelRatio();
    }
    const QPixmap logo = makeAboutLogo(ratio);
    setGeometry(QRect(origin + client.topLeft(), client.size()));

    const BuiltControls<Controls> built = buildControls<Controls>(this, kControls);
    for (QWidget *w : built.all) {
        // Only the two links and the bare window react to the pointer moving;
        // over any other control nothing happens, so a lit link stays lit.
        w->setAttribute(Qt::WA_NoMousePropagation);
        if (auto *label = qobject_cast<QLabel *>(w))
            label->setTextFormat(Qt::PlainText);
    }
    setMouseTracking(true);
    m_controls = built.controls;
    const Controls &c = m_controls;

    // The lines beside the logo are placed a pixel or two apart; their texts
    // start on one left edge, that of the rightmost.
    int textLeft = 0;
    for (const QLabel *label : c.besideLogo)
        textLeft = std::max(textLeft, label->x());
    for (QLabel *label : c.besideLogo)
        label->setIndent(textLeft - label->x());

    c.logo->setPixmap(logo);
    c.logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    for (QLabel *label : {c.title(), c.credit(), c.feedback()})
        setTextColor(label, Qt::black);
    setTextColor(c.disclaimer, QColor(192, 0, 0));
    // Drawn for a small bitmap font; with today's taller CJK line spacing its
    // third line needs the few pixels down to the window's bottom edge.
    c.disclaimer->resize(c.disclaimer->width(), client.height() - c.disclaimer->y());
    for (QLabel *label : {c.feedback(), c.disclaimer}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    for (QLabel *link : {c.webSite(), c.forum()}) {
        link->setMouseTracking(true);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    c.ok->setDefault(true);
    c.ok->setFocus();
    connect(c.ok, &QPushButton::clicked, this, &QWidget::close);
    connect(c.systemInfo, &QPushButton::clicked, this, &AboutDialog::startSystemInfo);
}

AboutDialog *AboutDialog::showSingle(QPointer<AboutDialog> &slot, QWidget *parent,
                                     AboutServices services)
{
    if (!slot)
        slot = new AboutDialog(parent, std::move(services));
    slot->setWindowState(slot->windowState() & ~Qt::WindowMinimized);
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}

void AboutDialog::reject()
{
    m_controls.ok->click();
}

void AboutDialog::closeEvent(QCloseEvent *event)
{
    event->accept();
}

void AboutDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint())) {
        setLinkLit(m_controls.webSite(), false);
        setLinkLit(m_controls.forum(), false);
    }
    QDialog::mouseMoveEvent(event);
}

bool AboutDialog::eventFilter(QObject *watched, QEvent *event)
{
    QLabel *const links[] = {m_controls.webSite(), m_controls.forum()};
    auto *link = std::ranges::find(links, watched) != std::end(links)
                     ? static_cast<QLabel *>(watched)
                     : nullptr;
    if (!link)
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseMove:
        setLinkLit(link, true);
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_pressedLink = link;
        break;
    case QEvent::MouseButtonRelease: {
        // A click is a left press and release on the same link.
        auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click = mouse->button() == Qt::LeftButton && m_pressedLink == link &&
                           link->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            m_pressedLink = nullptr;
        if (click)
            m_services.urls->openUrl(link == m_controls.webSite() ? kWebSiteUrl : kForumUrl);
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    const auto px = [](int twips) { return twipsToPixels(twips); };

    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawLine(px(kLine2.x1), px(kLine2.y1), px(kLine2.x2), px(kLine2.y2));

    // An etched separator: a grey line with a white one, two pixels high,
    // right beneath it.
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawLine(px(kLine1_1.x1), px(kLine1_1.y1), px(kLine1_1.x2), px(kLine1_1.y2));
    const int whiteTop = px(kLine1_1.y1) + 1;
    p.fillRect(QRect(QPoint(px(kLine1_0.x1), whiteTop), QPoint(px(kLine1_0.x2), whiteTop + 1)),
               Qt::white);
}

void AboutDialog::startSystemInfo()
{
    if (!startSystemInfoTool())
        m_services.messages->showNotice(kSystemInfoUnavailable);
}

} // namespace tintavo
