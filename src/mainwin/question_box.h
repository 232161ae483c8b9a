#pragma once

#include "mainwin/question_service.h"

class QWidget;

namespace tintavo {

// The real question box: question icon, Yes and No, No the default.
class QuestionBox : public QuestionService
{
public:
    explicit QuestionBox(QWidget *owner) : m_owner(owner) {}

    bool askYesNo(const QString &title, const QString &text) override;
    bool askRetry(const QString &title, const QString &text) override;

private:
    QWidget *m_owner;
};

} // namespace tintavo
