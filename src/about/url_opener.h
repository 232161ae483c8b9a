#pragma once

#include <QString>

namespace tintavo {

// Hands a web address to the system's default browser.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;

    // Opens `url`; whether that worked is not reported (nothing is shown).
    virtual void openUrl(const QString &url) = 0;
};

} // namespace tintavo
