#pragma once

#include <QString>
#include <QStringList>

// What the program asks of the desktop, behind interfaces so that logic can
// report without a window and tests can record instead of blocking on a box.
// The real implementations are in message_boxes.h.

namespace tintavo {

// The program's modal message boxes; each returns once the user closed it.
class MessageService
{
public:
    virtual ~MessageService() = default;

    // An error notice: title "错误提示", stop icon, OK.
    virtual void showError(const QString &text) = 0;
    // A plain notice: title "Tintavo", no icon, OK.
    virtual void showNotice(const QString &text) = 0;
};

// Asks the user in a modal box. A Yes/No question's default button is No, so
// that Enter alone never confirms.
class QuestionService
{
public:
    virtual ~QuestionService() = default;

    // True when the user answered Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;

    // Offers "重试" (retry, the default) and "放弃" (give up) after a
    // failure; true when the user chose to retry.
    virtual bool askRetry(const QString &title, const QString &text) = 0;

    // Offers `choices` as buttons, the last one the default and the answer of
    // Escape, so it should be the one that changes nothing; the index chosen.
    virtual int askChoice(const QString &title, const QString &text,
                          const QStringList &choices) = 0;
};

// Hands a web address to the default browser; whether that worked is not
// reported (nothing is shown).
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;

    virtual void openUrl(const QString &url) = 0;
};

} // namespace tintavo
