#pragma once

#include <QString>

namespace tintavo {

// Asks the user a Yes/No question in a modal box whose default button is No,
// so that Enter alone never confirms.
class QuestionService
{
public:
    virtual ~QuestionService() = default;

    // True when the user answered Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;

    // Offers "重试" (retry, the default) and "放弃" (give up) after a
    // failure; true when the user chose to retry.
    virtual bool askRetry(const QString &title, const QString &text) = 0;
};

} // namespace tintavo
