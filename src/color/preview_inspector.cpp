#include "color/preview_inspector.h"

#include "color/contrast.h"
#include "common/announce.h"
#include "common/text_box.h"

#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace tintavo {

namespace {

// The read-out's plate has colours of its own, so it stays legible on any
// pair: black text on pale yellow inside a 1 px grey line, 3 px clear of the
// line either side, with the room of an "x" shared out around the text as a
// framed label gives it. Drawn by hand rather than by a style sheet, which
// would bring the whole style-sheet machinery into every start for one plate.
class ReadoutPlate : public QLabel
{
public:
    explicit ReadoutPlate(QWidget *parent) : QLabel(parent)
    {
        QPalette plate = palette();
        plate.setColor(QPalette::WindowText, Qt::black);
        plate.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
        setPalette(plate);
        setAutoFillBackground(true);
        setIndent(0);
        fitMargins();
    }

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::FontChange)
            fitMargins();
        QLabel::changeEvent(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        QLabel::paintEvent(event);
        QPainter painter(this);
        // Antialiased: at fractional scales the line shades the device
        // pixels it only partly covers instead of jumping by whole pixels.
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor line(0x80, 0x80, 0x80);
        const QRect r = rect();
        painter.fillRect(QRect(r.left(), r.top(), r.width(), kLine), line);
        painter.fillRect(QRect(r.left(), r.bottom() + 1 - kLine, r.width(), kLine), line);
        painter.fillRect(QRect(r.left(), r.top(), kLine, r.height()), line);
        painter.fillRect(QRect(r.right() + 1 - kLine, r.top(), kLine, r.height()), line);
    }

private:
    void fitMargins()
    {
        const int x = fontMetrics().horizontalAdvance(u'x');
        setContentsMargins(kLine + kPadding + x / 2, kLine, kLine + kPadding + x - x / 2, kLine);
    }

    static constexpr int kLine = 1;
    static constexpr int kPadding = 3;
};

} // namespace

PreviewInspector::PreviewInspector(MultiLineTextBox *preview, ColorPair &pair, bool showContrast,
                                   Hooks hooks)
    : QObject(preview), m_preview(preview), m_pair(pair), m_hooks(std::move(hooks)),
      m_readout(new ReadoutPlate(preview)), m_showContrast(showContrast)
{
    m_readout->setObjectName(QStringLiteral("contrast_info"));
    m_readout->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Selected by a click like the code line, but kept out of the tab order.
    m_readout->setFocusPolicy(Qt::ClickFocus);
    m_readout->setToolTip(QStringLiteral(
        "按 WCAG 2.2 计算的前景色与背景色的对比度。正文需 4.5:1 才达 AA、7:1 才达 AAA；"
        "大字（18 磅以上，或 14 磅以上粗体）需 3:1 达 AA、4.5:1 达 AAA。\n"
        "APCA Lc 是 APCA-W3 0.0.98G-4g 算出的明度对比，仅供参考，不属于 WCAG 2.2："
        "深色字在浅色底上为正，浅色字在深色底上为负。"));
    m_preview->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_preview, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = createContextMenu(pos);
        menu->exec(m_preview->mapToGlobal(pos));
        delete menu;
    });
    m_preview->installEventFilter(this);
    // Kept, not asked of the box, which is only a plain widget while it goes.
    m_textArea = m_preview->viewport();
    m_textArea->installEventFilter(this);
    connect(&m_pair, &ColorPair::changed, this, &PreviewInspector::updateReadout);
    // Any change of the pair after an adjustment, the user's own edits
    // included, disarms its undo: it would silently put back both colours.
    connect(&m_pair, &ColorPair::changed, this, [this] { m_beforeAdjustment.reset(); });
    updateReadout();
}

bool PreviewInspector::eventFilter(QObject *watched, QEvent *event)
{
    // The text area is laid out only after the box has its new size: the
    // plate follows the area itself, not the box.
    const bool areaMoved =
        watched == m_textArea && (event->type() == QEvent::Resize || event->type() == QEvent::Move);
    if (areaMoved || (watched == m_preview && event->type() == QEvent::Show))
        placeReadout();
    return QObject::eventFilter(watched, event);
}

void PreviewInspector::setShowContrast(bool show)
{
    m_showContrast = show;
    updateReadout();
}

void PreviewInspector::updateReadout()
{
    const bool simulated = m_mode != VisionMode::Normal;
    const QString marker =
        simulated ? QStringLiteral("[模拟%1] ").arg(visionModeName(m_mode)) : QString();
    if (m_showContrast) {
        m_readout->setText(marker + pairContrastText(simulateVision(m_pair.foreground(), m_mode),
                                                     simulateVision(m_pair.background(), m_mode)));
    } else {
        m_readout->setText(marker.trimmed());
    }
    // Spoken, a tick or a cross says nothing: the name spells the grades out.
    QString spoken = m_readout->text();
    announceName(
        m_readout,
        spoken.replace(u'✓', QStringLiteral(" 通过")).replace(u'✗', QStringLiteral(" 未通过")));
    m_readout->setVisible(m_showContrast || simulated);
    placeReadout();
}

void PreviewInspector::placeReadout()
{
    // Top right of the text area, left of its scroll bar, in a band of its own
    // above the text: laid over the text, it would hide the end of a line.
    constexpr int kGap = 2;
    m_readout->adjustSize();
    const int band = m_readout->isVisibleTo(m_preview) ? m_readout->height() + 2 * kGap : 0;
    if (m_preview->topBand() != band)
        m_preview->setTopBand(band);
    const QRect area = m_preview->viewport()->geometry();
    m_readout->move(area.right() + 1 - m_readout->width() - kGap, area.top() - band + kGap);
    m_readout->raise();
}

QAction *PreviewInspector::addAdjustment(QMenu *menu, PairRole role, double target,
                                         const QString &text)
{
    const PairRole other =
        role == PairRole::Foreground ? PairRole::Background : PairRole::Foreground;
    QAction *action = menu->addAction(text);
    if (contrastRatio(m_pair.foreground(), m_pair.background()) >= target) {
        action->setEnabled(false);
    } else if (!contrastReachable(m_pair.color(other), target)) {
        action->setText(text + QStringLiteral(" (无法达到)"));
        action->setEnabled(false);
    }
    connect(action, &QAction::triggered, this, [this, role, target] { adjust(role, target); });
    return action;
}

QMenu *PreviewInspector::createContextMenu(const QPoint &pos)
{
    QMenu *menu = m_preview->createStandardContextMenu(pos);
    // Between the toolkit's entries and the colour commands, which end the menu.
    if (!m_hooks.windowCommands.isEmpty()) {
        menu->addSeparator();
        menu->addActions(m_hooks.windowCommands);
    }
    menu->addSeparator();
    addAdjustment(menu, PairRole::Foreground, contrast::kNormalAA, QStringLiteral("前景色调至 AA"));
    addAdjustment(menu, PairRole::Foreground, contrast::kNormalAAA,
                  QStringLiteral("前景色调至 AAA"));
    addAdjustment(menu, PairRole::Background, contrast::kNormalAA, QStringLiteral("背景色调至 AA"));
    addAdjustment(menu, PairRole::Background, contrast::kNormalAAA,
                  QStringLiteral("背景色调至 AAA"));
    QAction *undo =
        menu->addAction(QStringLiteral("撤销调整"), this, &PreviewInspector::undoAdjustment);
    undo->setEnabled(m_beforeAdjustment.has_value());
    menu->addSeparator();

    QAction *show = menu->addAction(QStringLiteral("显示对比度"));
    show->setCheckable(true);
    show->setChecked(m_showContrast);
    connect(show, &QAction::toggled, this, [this](bool on) {
        setShowContrast(on);
        if (m_hooks.saveShowContrast)
            m_hooks.saveShowContrast(on);
    });

    QMenu *vision = menu->addMenu(QStringLiteral("色觉模拟"));
    auto *group = new QActionGroup(vision);
    for (const VisionMode mode : kVisionModes) {
        QAction *choice = vision->addAction(visionModeName(mode));
        choice->setCheckable(true);
        choice->setChecked(mode == m_mode);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, mode] {
            m_mode = mode;
            updateReadout();
            emit visionModeChanged();
        });
    }
    return menu;
}

void PreviewInspector::adjust(PairRole role, double target)
{
    const PairRole other =
        role == PairRole::Foreground ? PairRole::Background : PairRole::Foreground;
    const std::optional<Rgb> found =
        nearestPassingColor(m_pair.color(role), m_pair.color(other), target);
    if (!found)
        return;
    const std::pair before{m_pair.foreground(), m_pair.background()};
    m_pair.setColor(role, *found);
    m_beforeAdjustment = before; // armed after its own change of the pair
}

void PreviewInspector::undoAdjustment()
{
    if (!m_beforeAdjustment)
        return;
    const auto [foreground, background] = *m_beforeAdjustment;
    m_beforeAdjustment.reset();
    m_pair.setColor(PairRole::Foreground, foreground);
    m_pair.setColor(PairRole::Background, background);
}

} // namespace tintavo
