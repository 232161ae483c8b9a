#pragma once

#include "desktop/desktop_services.h"

#include <QStringList>
#include <functional>

namespace tintavo::test {

// Records the texts it is asked to show instead of blocking on a box.
class FakeMessageService : public MessageService
{
public:
    void showError(const QString &text) override
    {
        shown << text;
        if (whileShown)
            whileShown();
    }
    void showNotice(const QString &text) override { notices << text; }

    QStringList shown; // errors
    QStringList notices;
    // Runs while an error is up, as the user could look at the window then.
    std::function<void()> whileShown;
};

// Records the addresses instead of starting a browser.
class FakeUrlOpener : public UrlOpener
{
public:
    void openUrl(const QString &url) override { opened << url; }

    QStringList opened;
};

} // namespace tintavo::test
