#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tintavo {

// Where the loupe window goes, in native screen pixels. It shows the square of
// pixels within `radius` of the pointer, so it must never lie over that square
// (it would then magnify itself): it sits below and to the right of the
// pointer, `gap` pixels clear of the square, and moves to the other side of the
// pointer on an axis where it would otherwise leave the monitor the pointer is
// on. `monitors` are the native rectangles of the desktop's monitors; when the
// pointer is on none of them the whole desktop counts as one.
QRect loupePlacement(QPoint pointer, int radius, QSize size, const QList<QRect> &monitors,
                     int gap = 8);

} // namespace tintavo
