#include "fake_message_service.h"

namespace tintavo::test {

void FakeMessageService::showError(const QString &text)
{
    shown << text;
}

} // namespace tintavo::test
