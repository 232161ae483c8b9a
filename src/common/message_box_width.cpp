#include "common/message_box_width.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace tintavo {

void widenForTitle(QMessageBox &box)
{
    // Room for a title-bar font up to bold and for the window icon and three
    // buttons of a window manager's title bar.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 220;
    // The box sizes itself to its layout, so the width goes into the layout.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace tintavo
