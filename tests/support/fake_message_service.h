#pragma once

#include "color/message_service.h"

#include <QStringList>

namespace tintavo::test {

// Records the error texts it is asked to show instead of blocking on a box.
class FakeMessageService : public MessageService
{
public:
    void showError(const QString &text) override;

    QStringList shown;
};

} // namespace tintavo::test
