#include "colorbox/swatch_view.h"

#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "colorbox/swatch_accessibility.h"
#include "colorbox/swatch_grid.h"
#include "common/floor_div.h"
#include "common/twips.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <vector>

namespace tintavo {

namespace {

constexpr int kSwatchPixels = twipsToPixels(kFirstSwatch.width);
static_assert(kFirstSwatch.width == kFirstSwatch.height, "the view paints square swatches");
static_assert(kFirstSwatch.width % kTwipsPerPixel == 0,
              "the grid pitch must be a whole number of pixels");

void paintSwatch(QPainter &p, const QRect &r, Rgb c)
{
    // A one-pixel sunken edge: shadow above and to the left, light below and right.
    static const QColor shadow(128, 128, 128);
    static const QColor light(255, 255, 255);
    p.fillRect(r, toQColor(c));
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), shadow);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), shadow);
    p.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 1, 1), light);
    p.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 1), light);
}

// The selected swatch, whether clicked or reached by the keyboard: a black
// and a white ring inside the edge, one of which shows on any colour, leaving
// the middle to the colour itself.
void paintSelection(QPainter &p, const QRect &r)
{
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(1, 1, -2, -2));
    p.setPen(Qt::white);
    p.drawRect(r.adjusted(2, 2, -3, -3));
}

// Where the next capture goes: a black corner inside the top-left of the
// swatch's edge with a white band along its diagonal, drawn over the
// selection's ring. One of them stands out on any colour and beside the
// ring, and the middle is left to the colour.
void paintCaptureMark(QPainter &p, const QRect &r)
{
    constexpr int outer = 12, inner = 8;
    const QPoint corner = r.topLeft() + QPoint(1, 1);
    for (int y = 0; y < outer; ++y) {
        p.fillRect(QRect(corner.x(), corner.y() + y, outer - y, 1), Qt::white);
        if (y < inner)
            p.fillRect(QRect(corner.x(), corner.y() + y, inner - y, 1), Qt::black);
    }
}

} // namespace

SwatchView::SwatchView(ColorBoxModel *model, QWidget *frame) : QWidget(frame), m_model(model)
{
    setObjectName(QStringLiteral("Picture1"));
    // Reached by Tab only: a click opens the menu and leaves the focus where
    // it was.
    setFocusPolicy(Qt::TabFocus);
    installSwatchAccessibility();
    setAccessibleName(QStringLiteral("储存颜色"));
    if (frame) {
        frame->installEventFilter(this);
        followParent();
    }
    if (m_model) {
        connect(m_model, &ColorBoxModel::colorChanged, this, [this](int index) {
            update(swatchRect(index));
            announceSwatch(this, index, QAccessible::NameChanged);
        });
        connect(m_model, &ColorBoxModel::colorsChanged, this, [this] {
            update();
            for (int i = 0; i < m_model->count(); ++i)
                announceSwatch(this, i, QAccessible::NameChanged);
        });
        connect(m_model, &ColorBoxModel::countChanged, this, qOverload<>(&QWidget::update));
        connect(m_model, &ColorBoxModel::marksChanged, this, &SwatchView::showMarks);
        connect(m_model, &QObject::destroyed, this, [this] {
            m_model = nullptr;
            update();
        });
    }
}

void SwatchView::followParent()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
}

bool SwatchView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        followParent();
    return QWidget::eventFilter(watched, event);
}

void SwatchView::arrange(int columns)
{
    if (columns <= 0)
        return;
    m_columns = columns;
    update();
}

QRect SwatchView::swatchRect(int index) const
{
    if (!m_model || !m_model->contains(index))
        return QRect();
    const QRect first = toPixels(kFirstSwatch);
    const int cols = std::max(m_columns, 1);
    const QPoint at = m_columns ? QPoint(index % cols, index / cols) * kSwatchPixels : QPoint();
    return QRect(first.topLeft() + at, QSize(kSwatchPixels, kSwatchPixels));
}

void SwatchView::gridRange(const QRect &area, int &first, int &last) const
{
    if (!m_columns) {
        // Not arranged yet: every swatch lies on swatch 0, the last on top.
        first = last = m_model->lastIndex();
        return;
    }
    const int top = toPixels(kFirstSwatch).top();
    const int firstRow = std::max(0, floorDiv(area.top() - top, kSwatchPixels));
    const int lastRow = floorDiv(area.bottom() - top, kSwatchPixels);
    const qint64 lo = qint64(firstRow) * m_columns;
    const qint64 hi = std::min<qint64>((qint64(lastRow) + 1) * m_columns - 1, m_model->lastIndex());
    first = static_cast<int>(std::min<qint64>(lo, m_model->count()));
    last = static_cast<int>(hi);
}

int SwatchView::swatchAt(const QPoint &pos) const
{
    // The frame clips its swatches: nothing outside it can be hit.
    if (!m_model || !rect().contains(pos))
        return -1;
    int first = 0;
    int last = -1;
    gridRange(QRect(pos, QSize(1, 1)), first, last);
    for (int i = last; i >= first; --i) {
        if (swatchRect(i).contains(pos))
            return i;
    }
    return -1;
}

void SwatchView::mousePressEvent(QMouseEvent *event)
{
    const int index = swatchAt(event->position().toPoint());
    if (index < 0) {
        event->ignore();
        return;
    }
    event->accept();
    select(index);
    emit swatchPressed(index, event->globalPosition().toPoint());
}

void SwatchView::showMarks()
{
    if (!m_model)
        return;
    const int slot = m_model->captureTarget();
    for (const int i : {m_markedSelection, m_markedSlot, m_model->selectedSwatch(), slot})
        update(swatchRect(i));
    // The capture slot is part of a swatch's name for a screen reader.
    if (slot != m_markedSlot) {
        announceSwatch(this, m_markedSlot, QAccessible::NameChanged);
        announceSwatch(this, slot, QAccessible::NameChanged);
    }
    m_markedSelection = m_model->selectedSwatch();
    m_markedSlot = slot;
}

void SwatchView::select(int index)
{
    m_model->selectSwatch(index);
    if (hasFocus())
        announceSwatch(this, index, QAccessible::Focus);
    announceSwatch(this, index, QAccessible::Selection);
}

void SwatchView::keyPressEvent(QKeyEvent *event)
{
    if (!m_model) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int current = m_model->selectedSwatch();
    const int row = std::max(m_columns, 1);
    int next = current;
    switch (event->key()) {
    case Qt::Key_Left:
        next = current - 1;
        break;
    case Qt::Key_Right:
        next = current + 1;
        break;
    case Qt::Key_Up:
        next = current - row;
        break;
    case Qt::Key_Down:
        next = current + row;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = m_model->lastIndex();
        break;
    case Qt::Key_F10:
        if (event->modifiers() != Qt::ShiftModifier) {
            QWidget::keyPressEvent(event);
            return;
        }
        [[fallthrough]];
    case Qt::Key_Menu:
        emit swatchPressed(current, mapToGlobal(swatchRect(current).center()));
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_model->contains(next) && next != current)
        select(next);
}

void SwatchView::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (m_model) {
        update(swatchRect(m_model->selectedSwatch()));
        announceSwatch(this, m_model->selectedSwatch(), QAccessible::Focus);
    }
}

void SwatchView::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (m_model)
        update(swatchRect(m_model->selectedSwatch()));
}

void SwatchView::paintEvent(QPaintEvent *event)
{
    if (!m_model)
        return;
    const QRect area = event->rect() & rect();
    if (area.isEmpty())
        return;

    QPainter p(this);
    p.setClipRect(area);
    const std::vector<Rgb> &colors = m_model->colors();
    int first = 0;
    int last = -1;
    gridRange(area, first, last);
    for (int i = first; i <= last; ++i) {
        const QRect r = swatchRect(i);
        if (r.intersects(area))
            paintSwatch(p, r, colors[static_cast<size_t>(i)]);
    }
    if (m_model->contains(m_model->selectedSwatch()))
        paintSelection(p, swatchRect(m_model->selectedSwatch()));
    paintCaptureMark(p, swatchRect(m_model->captureTarget()));
}

} // namespace tintavo
