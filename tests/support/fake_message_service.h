#pragma once

#include "desktop/desktop_services.h"

#include <QStringList>

namespace tintavo::test {

// Records the texts it is asked to show instead of blocking on a box.
struct FakeMessageService : MessageService
{
    void showError(const QString &text) override { shown << text; }
    void showNotice(const QString &text) override { notices << text; }

    QStringList shown; // errors
    QStringList notices;
};

// Records the addresses instead of starting a browser.
struct FakeUrlOpener : UrlOpener
{
    void openUrl(const QString &url) override { opened << url; }

    QStringList opened;
};

} // namespace tintavo::test
