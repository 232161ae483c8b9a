#pragma once

#include <QString>

namespace tintavo {

// Shows the program's error messages. Routines that validate user input report
// through this, so they can be exercised without any window.
class MessageService
{
public:
    virtual ~MessageService() = default;

    // Shows `text` as a modal error notice and returns once the user closed it.
    virtual void showError(const QString &text) = 0;
};

} // namespace tintavo
