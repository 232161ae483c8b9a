#include "common/app_icon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace tintavo {

QIcon appIcon()
{
    // Rendered once and kept by the application: an icon made anew for each
    // picker left its pixmaps in the toolkit's pixmap cache every time.
    if (!QGuiApplication::windowIcon().isNull())
        return QGuiApplication::windowIcon();
    // The same drawing the installed icon files are rendered from, so the
    // window, the task bar and the desktop's menu all show one icon.
    QSvgRenderer svg(QStringLiteral(":/icons/tintavo.svg"));
    QIcon icon;
    // Up to four times the largest title-bar size, for scaled screens.
    for (const int size : {16, 24, 32, 48, 64, 96, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    QGuiApplication::setWindowIcon(icon);
    return icon;
}

} // namespace tintavo
