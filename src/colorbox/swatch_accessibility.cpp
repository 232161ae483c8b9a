#include "colorbox/swatch_accessibility.h"

#include "colorbox/color_box_model.h"
#include "colorbox/swatch_view.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace tintavo {

QString swatchAccessibleName(int index, Rgb color, bool captureSlot)
{
    const QString value = color == kRgbWhite ? QStringLiteral("空")
                                             : QStringLiteral("#%1%2%3")
                                                   .arg(color.red, 2, 16, QLatin1Char('0'))
                                                   .arg(color.green, 2, 16, QLatin1Char('0'))
                                                   .arg(color.blue, 2, 16, QLatin1Char('0'))
                                                   .toUpper();
    return QStringLiteral("颜色 %1：%2%3")
        .arg(index)
        .arg(value, captureSlot ? QStringLiteral("，下次取色存到这里") : QString());
}

namespace {

// One swatch. It has no QObject of its own, so the list keeps it registered.
class SwatchItem : public QAccessibleInterface
{
public:
    SwatchItem(SwatchView *view, int index) : m_view(view), m_index(index) {}

    bool isValid() const override
    {
        return m_view && m_view->model() && m_view->model()->contains(m_index);
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        const ColorBoxModel *box = m_view->model();
        return swatchAccessibleName(m_index, box->color(m_index), box->captureTarget() == m_index);
    }
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect r = m_view->swatchRect(m_index);
        return QRect(m_view->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = s.focusable = true;
        if (!isValid())
            return s;
        const bool current = m_view->model()->selectedSwatch() == m_index;
        s.selected = current;
        s.focused = current && m_view->hasFocus();
        // Rows below the frame's edge are clipped away, as they are on screen.
        s.invisible = !m_view->isVisible();
        s.offscreen = !m_view->rect().intersects(m_view->swatchRect(m_index));
        return s;
    }
    int index() const { return m_index; }

private:
    QPointer<SwatchView> m_view;
    int m_index;
};

class SwatchList : public QAccessibleWidget
{
public:
    explicit SwatchList(SwatchView *view) : QAccessibleWidget(view, QAccessible::List) {}
    ~SwatchList() override
    {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
    }

    SwatchView *view() const { return static_cast<SwatchView *>(widget()); }

    int childCount() const override { return view()->model() ? view()->model()->count() : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        // Made as they are asked for: a box may hold 32768 swatches.
        auto found = m_items.constFind(index);
        if (found == m_items.cend())
            found = m_items.insert(
                index, QAccessible::registerAccessibleInterface(new SwatchItem(view(), index)));
        return QAccessible::accessibleInterface(*found);
    }
    // The item of swatch `index` if anyone has asked for it yet: one that
    // was never read has no name to be stale.
    QAccessibleInterface *madeChild(int index) const
    {
        const auto found = m_items.constFind(index);
        return found == m_items.cend() ? nullptr : QAccessible::accessibleInterface(*found);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *item = dynamic_cast<const SwatchItem *>(child);
        return item && item->parent() == this ? item->index() : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        return child(view()->swatchAt(view()->mapFromGlobal(QPoint(x, y))));
    }
    QAccessibleInterface *focusChild() const override
    {
        return view()->hasFocus() && view()->model() ? child(view()->model()->selectedSwatch())
                                                     : nullptr;
    }

private:
    mutable QHash<int, QAccessible::Id> m_items;
};

QAccessibleInterface *swatchListFactory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<SwatchView *>(object))
        return new SwatchList(view);
    return nullptr;
}

} // namespace

void installSwatchAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(swatchListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void announceSwatch(SwatchView *view, int index, QAccessible::Event change)
{
    if (!QAccessible::isActive())
        return;
    auto *list = dynamic_cast<SwatchList *>(QAccessible::queryAccessibleInterface(view));
    QAccessibleInterface *item = !list                                ? nullptr
                                 : change == QAccessible::NameChanged ? list->madeChild(index)
                                                                      : list->child(index);
    if (item) {
        QAccessibleEvent event(item, change);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace tintavo
