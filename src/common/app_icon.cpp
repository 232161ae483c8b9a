#include "common/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tintavo {

QIcon appIcon()
{
    // The same drawing the installed icon files are rendered from, so the
    // window, the task bar and the desktop's menu all show one icon.
    QSvgRenderer svg(QStringLiteral(":/icons/tintavo.svg"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace tintavo
