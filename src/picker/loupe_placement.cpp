#include "picker/loupe_placement.h"

namespace tintavo {

namespace {

// One axis: after the square if the loupe fits there before the monitor's far
// edge, else before it if it fits there, else on whichever side shows more of
// it. Either side keeps clear of the square.
int placeOnAxis(int pointer, int radius, int length, int monitorStart, int monitorEnd, int gap)
{
    const int after = pointer + radius + 1 + gap;
    const int before = pointer - radius - gap - length;
    if (after + length <= monitorEnd)
        return after;
    if (before >= monitorStart)
        return before;
    const int shownAfter = monitorEnd - after;
    const int shownBefore = before + length - monitorStart;
    return shownAfter >= shownBefore ? after : before;
}

} // namespace

QRect loupePlacement(QPoint pointer, int radius, QSize size, const QList<QRect> &monitors, int gap)
{
    QRect monitor;
    for (const QRect &m : monitors) {
        if (m.contains(pointer)) {
            monitor = m;
            break;
        }
        monitor |= m;
    }
    if (monitor.isEmpty())
        monitor = QRect(pointer, QSize(1, 1));
    const int x = placeOnAxis(pointer.x(), radius, size.width(), monitor.left(),
                              monitor.left() + monitor.width(), gap);
    const int y = placeOnAxis(pointer.y(), radius, size.height(), monitor.top(),
                              monitor.top() + monitor.height(), gap);
    return {QPoint(x, y), size};
}

} // namespace tintavo
