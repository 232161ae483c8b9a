#pragma once

#include "desktop/desktop_services.h"

#include <QPointer>
#include <QWidget>

namespace tintavo {

// The real message boxes, over `owner`. Timers keep running while one is open.
class MessageBoxService : public MessageService
{
public:
    explicit MessageBoxService(QWidget *owner = nullptr) : m_owner(owner) {}

    void showError(const QString &text) override;
    void showNotice(const QString &text) override;

private:
    QPointer<QWidget> m_owner;
};

// The real question box: question icon, Yes and No, No the default.
class QuestionBox : public QuestionService
{
public:
    explicit QuestionBox(QWidget *owner) : m_owner(owner) {}

    bool askYesNo(const QString &title, const QString &text) override;
    bool askRetry(const QString &title, const QString &text) override;
    int askChoice(const QString &title, const QString &text, const QStringList &choices) override;

private:
    QPointer<QWidget> m_owner;
};

// Opens addresses with QDesktopServices.
class DesktopUrlOpener : public UrlOpener
{
public:
    void openUrl(const QString &url) override;
};

} // namespace tintavo
