#pragma once

#include "color/message_service.h"

class QWidget;

namespace tintavo {

// The real error notice: a modal box titled "错误提示" with the stop icon and
// an OK button. Timers keep running while it is open.
class MessageBoxService : public MessageService
{
public:
    explicit MessageBoxService(QWidget *owner = nullptr) : m_owner(owner) {}

    void setOwner(QWidget *owner) { m_owner = owner; }
    void showError(const QString &text) override;

private:
    QWidget *m_owner;
};

} // namespace tintavo
