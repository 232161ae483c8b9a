#pragma once

#include "mainwin/question_service.h"

#include <QStringList>

namespace tintavo::test {

// Answers every question with `answer` and records what was asked.
class FakeQuestionService : public QuestionService
{
public:
    bool askYesNo(const QString &title, const QString &text) override
    {
        asked << title + u'|' + text;
        return answer;
    }

    bool answer = false;
    QStringList asked;
};

} // namespace tintavo::test
