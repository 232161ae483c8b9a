#pragma once

class QString;
class QWidget;

namespace tintavo {

// Gives `widget` the accessible name `name` and, when that is new, tells
// assistive technologies, so that a read-out changing under the user is heard
// rather than found stale the next time it is read.
void announceName(QWidget *widget, const QString &name);

} // namespace tintavo
