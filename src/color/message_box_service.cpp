#include "color/message_box_service.h"

#include "common/message_box_width.h"

#include <QMessageBox>

namespace tintavo {

void MessageBoxService::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误提示"), text, QMessageBox::Ok,
                    m_owner);
    widenForTitle(box);
    box.exec();
}

} // namespace tintavo
