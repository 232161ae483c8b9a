#include "common/announce.h"

#include <QAccessible>
#include <QWidget>

namespace tintavo {

void announceName(QWidget *widget, const QString &name)
{
    if (widget->accessibleName() == name)
        return;
    widget->setAccessibleName(name);
    QAccessibleEvent event(widget, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace tintavo
