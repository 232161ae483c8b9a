#pragma once

#include "desktop/desktop_services.h"

#include <QStringList>

#include <functional>

namespace tintavo::test {

// Records the texts it is asked to show instead of blocking on a box.
struct FakeMessageService : MessageService
{
    void showError(const QString &text) override
    {
        shown << text;
        if (whileOpen)
            whileOpen();
    }
    void showNotice(const QString &text) override { notices << text; }

    QStringList shown; // errors
    // Runs while an error is "open", to see what the window shows meanwhile.
    std::function<void()> whileOpen;
    QStringList notices;
};

// Records the addresses instead of starting a browser.
struct FakeUrlOpener : UrlOpener
{
    void openUrl(const QString &url) override { opened << url; }

    QStringList opened;
};

} // namespace tintavo::test
