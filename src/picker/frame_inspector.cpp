#include "picker/frame_inspector.h"

#include "picker/arrow_steps.h"
#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"

#include "color/qt_color.h"
#include "color/region_contrast.h"
#include "color/vision_table.h"
#include "common/announce.h"
#include "common/interface_font.h"
#include "common/off_thread.h"
#include "picture/dominant_colors.h"
#include "platform/pointer_grab.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <array>
#include <cstdio>

namespace tintavo {

namespace {

// A press becomes a drag once the pointer is this far away, in device
// pixels; a hand that trembles on a click still picks.
constexpr int kDragDistance = 3;
// Between the region and its read-out, in device pixels.
constexpr int kReadoutGap = 6;

struct ViewKey
{
    Qt::Key key;
    VisionMode mode;
};
constexpr ViewKey kViewKeys[] = {
    {Qt::Key_0, VisionMode::Normal},        {Qt::Key_1, VisionMode::Protanopia},
    {Qt::Key_2, VisionMode::Deuteranopia},  {Qt::Key_3, VisionMode::Tritanopia},
    {Qt::Key_4, VisionMode::Achromatopsia},
};

// The toolkit's screen showing a desktop point, with its rectangle in
// native pixels: the toolkit keeps a monitor's top-left corner in native
// pixels and scales its size.
const QScreen *screenAt(QPoint native, QRect *nativeRect)
{
    const QScreen *found = QGuiApplication::primaryScreen();
    for (const QScreen *s : QGuiApplication::screens()) {
        if (QRect(s->geometry().topLeft(), s->geometry().size() * s->devicePixelRatio())
                .contains(native))
            found = s;
    }
    *nativeRect =
        QRect(found->geometry().topLeft(), found->geometry().size() * found->devicePixelRatio());
    return found;
}

// Puts `label`'s top-left corner on a native desktop point.
void placeAt(QLabel *label, QPoint native)
{
    QRect monitor;
    const QScreen *screen = screenAt(native, &monitor);
    label->setScreen(const_cast<QScreen *>(screen));
    label->move(monitor.topLeft() + (native - monitor.topLeft()) / screen->devicePixelRatio());
}

std::unique_ptr<QLabel> overlayLabel(const char *name)
{
    // Above the frame, and out of the way of the grab's clicks and keys.
    auto label = std::make_unique<QLabel>(
        nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                     Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                     Qt::WindowTransparentForInput);
    label->setObjectName(QString::fromLatin1(name));
    label->setAttribute(Qt::WA_ShowWithoutActivating);
    label->setFont(interfaceFont());
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral(
        "QLabel { background: #202020; color: #ffffff; border: 1px solid #ffffff; padding: 3px "
        "6px; }"));
    return label;
}

// The lower median of each channel, so that it is a value of the region.
Rgb medianColor(const QImage &pixels)
{
    std::array<std::array<qint64, 256>, 3> counts{};
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            ++counts[0][size_t(qRed(row[x]))];
            ++counts[1][size_t(qGreen(row[x]))];
            ++counts[2][size_t(qBlue(row[x]))];
        }
    }
    const qint64 middle = (qint64(pixels.width()) * pixels.height() - 1) / 2;
    std::array<int, 3> median{};
    for (size_t c = 0; c < 3; ++c) {
        qint64 seen = 0;
        while (seen + counts[c][size_t(median[c])] <= middle)
            seen += counts[c][size_t(median[c]++)];
    }
    return rgb(median[0], median[1], median[2]);
}

// Dark and light diagonal stripes over every pixel marked in `below`: seen
// on any colour, with the pixel itself between them.
QImage hatch(QSize size, const std::vector<quint8> &below)
{
    QImage marks(size, QImage::Format_ARGB32_Premultiplied);
    marks.fill(Qt::transparent);
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(marks.scanLine(y));
        const quint8 *marked = below.data() + qsizetype(y) * size.width();
        for (int x = 0; x < size.width(); ++x) {
            const int stripe = (x + y) % 8;
            if (marked[x] && stripe < 2)
                row[x] = 0xFF000000u;
            else if (marked[x] && stripe >= 4 && stripe < 6)
                row[x] = 0xFFFFFFFFu;
        }
    }
    return marks;
}

} // namespace

FrameInspector::FrameInspector(FrozenScreen &frame, PickEngine &engine, PointerGrab &grab,
                               Pair pair)
    : m_frame(frame), m_engine(engine), m_grab(grab), m_pair(std::move(pair)),
      m_readout(overlayLabel("regionReadout")), m_viewLabel(overlayLabel("visionLabel"))
{
    // A picture zoomed or panned moves the region: its read-out goes along.
    m_frame.onViewMoved([this] {
        if (m_readout->isVisible())
            placeReadout();
    });
}

FrameInspector::~FrameInspector()
{
    m_frame.onViewMoved({});
    m_engine.setLoupeView(nullptr);
    delete m_dialog;
}

bool FrameInspector::keyPressed(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers == Qt::NoModifier) {
        for (const ViewKey &view : kViewKeys) {
            if (view.key == key) {
                showView(view.mode);
                return true;
            }
        }
        if (key == Qt::Key_Escape && (!m_region.isEmpty() || m_dragging)) {
            clearRegion();
            return true;
        }
    }
    if (modifiers == Qt::ControlModifier) {
        if (key == Qt::Key_C && !m_region.isEmpty())
            QGuiApplication::clipboard()->setText(m_readoutLine);
        else if (key == Qt::Key_S)
            save();
        return true;
    }
    const std::optional<QPoint> arrow = arrowStep(key);
    if (modifiers != Qt::ShiftModifier || !arrow)
        return false;
    const QPoint step = *arrow;
    // The region grows from where the crosshair stood at the first press.
    const QPoint pointer = m_engine.screen().pointerPosition();
    if (!m_anchor || m_region.isEmpty())
        m_anchor = pointer;
    const QPoint to = pointer + step;
    if (m_frame.rect().contains(to) && m_engine.step(step))
        setRegion(QRect(*m_anchor, to).normalized());
    return true;
}

bool FrameInspector::buttonPressed(Qt::MouseButton button, QPoint at)
{
    if (button == Qt::LeftButton) {
        m_pressedAt = at;
        m_dragging = false;
        return true;
    }
    if (button == Qt::RightButton && m_region.contains(at)) {
        showRegionMenu(at);
        return true;
    }
    if (button == Qt::RightButton && m_frame.isPicture()) {
        showPictureMenu(at);
        return true;
    }
    return false;
}

void FrameInspector::pointerMoved(QPoint at)
{
    if (!m_pressedAt)
        return;
    const QPoint moved = at - *m_pressedAt;
    if (!m_dragging && qMax(qAbs(moved.x()), qAbs(moved.y())) < kDragDistance)
        return;
    // While the button is down only the outline follows; the figures come
    // when it is let go.
    m_dragging = true;
    m_readout->hide();
    m_frame.markRegion(QRect(*m_pressedAt, at).normalized());
}

bool FrameInspector::buttonReleased(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton)
        return true;
    const std::optional<QPoint> from = std::exchange(m_pressedAt, std::nullopt);
    if (!from) // pressed before the frame was there
        return true;
    if (!std::exchange(m_dragging, false))
        return false;
    m_anchor.reset();
    setRegion(QRect(*from, at).normalized());
    return true;
}

void FrameInspector::setRegion(const QRect &wanted)
{
    const QRect region = wanted & m_frame.rect();
    if (region.isEmpty()) {
        clearRegion();
        return;
    }
    m_region = region;
    // Colour-managed as picks are: the text colour is a page's sRGB value.
    const Rgb text = m_pair.foreground ? m_pair.foreground() : Rgb{};
    const MeasuredRegion figures =
        measureFrameRegion(text, m_frame.frame(), region, [this](QImage &pixels, QPoint origin) {
            m_engine.toSrgb(pixels, origin);
        });
    m_median = medianColor(figures.pixels);
    m_frame.markRegion(region, hatch(region.size(), figures.belowNormalAA));
    // The figures are the line a script gets from --region; under them,
    // which colour they measure.
    m_readoutLine = regionContrastText(figures.contrast);
    const QString measured = QStringLiteral("文字：前景色 %1").arg(toQColor(text).name().toUpper());
    m_readout->setText(m_readoutLine + u'\n' + measured);
    announceName(m_readout.get(), m_readoutLine);
    m_readout->setAccessibleDescription(measured);
    placeReadout();
    if (m_viewLabel->isVisible())
        showViewLabel(m_engine.screen().pointerPosition());
}

void FrameInspector::clearRegion()
{
    m_region = {};
    m_anchor.reset();
    m_pressedAt.reset();
    m_dragging = false;
    m_readout->hide();
    m_frame.markRegion({});
}

void FrameInspector::placeReadout()
{
    m_readout->adjustSize();
    const QRect region = m_frame.onDesktop(m_region);
    QRect monitor;
    const QScreen *screen = screenAt(region.bottomLeft(), &monitor);
    const QSize size = m_readout->size() * screen->devicePixelRatio();
    // Above the region, away from the loupe beside the pointer at the end
    // of a drag; below it where the monitor ends; inside it where neither
    // has room.
    QPoint at(region.left(), region.top() - kReadoutGap - size.height());
    if (at.y() < monitor.top())
        at.setY(region.bottom() + 1 + kReadoutGap);
    if (at.y() + size.height() > monitor.bottom() + 1)
        at.setY(region.top() + kReadoutGap);
    at.setX(qBound(monitor.left(), at.x(), monitor.right() + 1 - size.width()));
    placeAt(m_readout.get(), at);
    m_readoutPlaced = QRect(at, size);
    m_readout->show();
    m_readout->raise();
}

void FrameInspector::showView(VisionMode mode)
{
    if (mode != m_mode) {
        m_mode = mode;
        m_view = mode == VisionMode::Normal ? nullptr : std::make_unique<VisionTable>(mode);
        m_frame.showAs(m_view.get());
        m_engine.setLoupeView(m_view.get());
    }
    m_viewMessage.clear();
    showViewLabel(m_engine.screen().pointerPosition());
}

void FrameInspector::sampled(QPoint pointer, std::optional<Rgb> color)
{
    m_picked = color;
    if (m_viewLabel->isVisible())
        showViewLabel(pointer);
}

void FrameInspector::showViewLabel(QPoint pointer)
{
    QStringList lines{
        m_mode == VisionMode::Normal
            ? QStringLiteral("真实画面（按 1–4 模拟色觉）")
            : QStringLiteral("色觉模拟：%1（按 0 看真实画面）").arg(visionModeName(m_mode))};
    // What is stored is the true pixel; the view only shows it otherwise.
    if (m_view && m_picked && m_view->apply(*m_picked) != *m_picked)
        lines << QStringLiteral("取色 %1，看起来是 %2")
                     .arg(toQColor(*m_picked).name().toUpper(),
                          toQColor(m_view->apply(*m_picked)).name().toUpper());
    if (!m_viewMessage.isEmpty())
        lines << m_viewMessage;
    m_viewLabel->setText(lines.join(u'\n'));
    announceName(m_viewLabel.get(), m_viewLabel->text());
    m_viewLabel->adjustSize();
    // A corner of the monitor under the pointer: the top-left one unless the
    // pointer, the region or its read-out is in the way there.
    // Both on the desktop, as the labels are placed.
    pointer = m_frame.onDesktop(QRect(pointer, QSize(1, 1))).center();
    const QRect region = m_frame.onDesktop(m_region);
    QRect monitor;
    const QScreen *screen = screenAt(pointer, &monitor);
    const QSize size = m_viewLabel->size() * screen->devicePixelRatio();
    const QRect inner = monitor.adjusted(kReadoutGap, kReadoutGap, -kReadoutGap, -kReadoutGap);
    const QPoint corners[] = {
        inner.topLeft(),
        {inner.left(), inner.bottom() + 1 - size.height()},
        {inner.right() + 1 - size.width(), inner.top()},
        {inner.right() + 1 - size.width(), inner.bottom() + 1 - size.height()}};
    const QRect readout = m_region.isEmpty() ? QRect() : m_readoutPlaced;
    const auto clear = [&](const QRect &placed, bool ofTheRegion) {
        return !placed.adjusted(-20, -20, 20, 20).contains(pointer) &&
               (!ofTheRegion || !(placed.intersects(region) || placed.intersects(readout)));
    };
    // Where every corner is in the way, one clear of the pointer.
    const QPoint *at = nullptr;
    for (const bool ofTheRegion : {true, false})
        for (const QPoint &corner : corners)
            at = at || !clear(QRect(corner, size), ofTheRegion) ? at : &corner;
    placeAt(m_viewLabel.get(), at ? *at : corners[1]);
    m_viewLabel->show();
    m_viewLabel->raise();
}

void FrameInspector::lendScreen(bool frameToo)
{
    m_grab.release();
    m_engine.setLoupeHidden(true);
    if (frameToo) {
        m_frame.setVisible(false);
        m_readout->hide();
        m_viewLabel->hide();
    }
}

void FrameInspector::takeScreenBack()
{
    m_frame.setVisible(true);
    m_grab.grab();
    m_engine.setLoupeHidden(false);
    m_engine.raiseLoupe();
    if (!m_region.isEmpty())
        placeReadout();
    if (!m_viewLabel->text().isEmpty())
        showViewLabel(m_engine.screen().pointerPosition());
}

void FrameInspector::showRegionMenu(QPoint at)
{
    if (!m_menu) {
        m_menu = std::make_unique<QMenu>();
        m_menu->setObjectName(QStringLiteral("menuRegion"));
        QAction *background = m_menu->addAction(QStringLiteral("设为背景色"), this, [this] {
            if (m_pair.setBackground)
                m_pair.setBackground(m_median);
        });
        background->setObjectName(QStringLiteral("menuRegionBackground"));
        addMainColors(m_menu.get(), [this] { return m_region; });
    }
    QPixmap swatch(16, 16);
    swatch.fill(toQColor(m_median));
    m_menu->actions().front()->setIcon(QIcon(swatch));
    m_menu->actions().front()->setToolTip(toQColor(m_median).name().toUpper());
    popUp(m_menu.get(), at);
}

void FrameInspector::showPictureMenu(QPoint at)
{
    if (!m_pictureMenu) {
        m_pictureMenu = std::make_unique<QMenu>();
        m_pictureMenu->setObjectName(QStringLiteral("menuPicture"));
        addMainColors(m_pictureMenu.get(), [this] { return m_frame.rect(); });
    }
    popUp(m_pictureMenu.get(), at);
}

void FrameInspector::addMainColors(QMenu *menu, std::function<QRect()> area)
{
    QMenu *colors = menu->addMenu(QStringLiteral("提取主色"));
    colors->setObjectName(menu->objectName() + QStringLiteral("MainColors"));
    for (const int count : {5, 8, 12}) {
        QAction *action = colors->addAction(QString::number(count), this, [this, area, count] {
            extractMainColors(area(), count);
        });
        action->setObjectName(colors->objectName() + QString::number(count));
    }
    // The grab comes back once the menu's own has gone.
    connect(menu, &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, &FrameInspector::takeScreenBack); });
}

void FrameInspector::popUp(QMenu *menu, QPoint at)
{
    lendScreen(false);
    const QPoint native = m_frame.onDesktop(QRect(at, QSize(1, 1))).center();
    QRect monitor;
    const QScreen *screen = screenAt(native, &monitor);
    menu->popup(monitor.topLeft() + (native - monitor.topLeft()) / screen->devicePixelRatio());
}

void FrameInspector::extractMainColors(const QRect &area, int count)
{
    // In sRGB, as a pick is.
    QImage pixels = m_frame.frame().copy(area).convertToFormat(QImage::Format_RGB32);
    m_engine.toSrgb(pixels, area.topLeft());
    auto *finding = new QFutureWatcher<std::vector<ColorShare>>(this);
    connect(finding, &QFutureWatcherBase::finished, this, [this, finding] {
        finding->deleteLater();
        const std::vector<ColorShare> found = finding->result();
        const std::vector<int> percents = wholePercents(found);
        QStringList shares;
        std::vector<Rgb> colors;
        for (size_t i = 0; i < found.size(); ++i) {
            shares << QStringLiteral("%1 %2%")
                          .arg(toQColor(found[i].color).name().toUpper())
                          .arg(percents[i]);
            colors.push_back(found[i].color);
        }
        // Four a line: twelve would run across the monitor.
        QStringList lines;
        for (qsizetype i = 0; i < shares.size(); i += 4)
            lines << shares.mid(i, 4).join(QStringLiteral("  "));
        m_viewMessage = QStringLiteral("主色：") + lines.join(QStringLiteral("\n　　　"));
        if (m_pair.storeColors && !colors.empty()) {
            // The question before overwriting must be seen.
            lendScreen(true);
            m_viewMessage += u'\n' + m_pair.storeColors(colors);
            takeScreenBack();
        }
        showViewLabel(m_engine.screen().pointerPosition());
    });
    finding->setFuture(
        runOffThread([pixels, count] { return extractColors(pixels, pixels.rect(), count); }));
}

void FrameInspector::save()
{
    if (m_dialog)
        return;
    lendScreen(true);
    auto *dialog =
        new QFileDialog(nullptr, QStringLiteral("保存画面"),
                        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
                            QStringLiteral("/tintavo.png"),
                        QStringLiteral("PNG 图像 (*.png)"));
    dialog->setObjectName(QStringLiteral("saveFrameDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("png"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &FrameInspector::writeFile);
    connect(dialog, &QDialog::finished, this, &FrameInspector::takeScreenBack);
    m_dialog = dialog;
    dialog->open();
}

void FrameInspector::writeFile(const QString &path)
{
    // Encoding a 4K frame takes a while and the disk may be slow: the frame
    // goes on answering meanwhile.
    auto *watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher, path] {
        const QString error = watcher->result();
        watcher->deleteLater();
        m_viewMessage = error.isEmpty() ? QStringLiteral("已保存到 %1").arg(path)
                                        : QStringLiteral("未能保存 %1：%2").arg(path, error);
        showViewLabel(m_engine.screen().pointerPosition());
    });
    watcher->setFuture(runOffThread([image = m_frame.shownFrame(), path] {
        QImageWriter writer(path, "png");
        if (writer.write(image))
            return QString();
        const QString error = writer.errorString();
        std::fprintf(stderr, "Tintavo: 未能保存 / could not save %s: %s\n",
                     path.toLocal8Bit().constData(), error.toLocal8Bit().constData());
        std::fflush(stderr);
        return error;
    }));
}

} // namespace tintavo
