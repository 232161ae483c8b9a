#pragma once

#include "desktop/desktop_services.h"

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

    // Retries this many times, then gives up.
    bool askRetry(const QString &title, const QString &text) override
    {
        asked << title + u'|' + text;
        return retries-- > 0;
    }

    bool answer = false;
    int retries = 0;
    QStringList asked;
};

} // namespace tintavo::test
