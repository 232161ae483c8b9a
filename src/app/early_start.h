#pragma once

#include "session/start_state.h"

#include <QString>

#include <future>
#include <latch>

namespace tintavo {

// The start-up work that needs no window, done on another core while the
// toolkit connects to the display and the main window is built: the font
// configuration, then the settings file.
class EarlyStart
{
public:
    // Reads the settings file at settingsPath unless it is empty.
    explicit EarlyStart(const QString &settingsPath);
    EarlyStart(const EarlyStart &) = delete;
    EarlyStart &operator=(const EarlyStart &) = delete;

    // Returns once the font configuration is loaded. Called before the first
    // text is measured: fontconfig loads its configuration on every thread
    // that asks while none is there yet, keeping one, so a window's thread
    // that came first would read the whole configuration again itself.
    void waitForFonts() { m_fontsLoaded.wait(); }

    // What was read from the settings file, waiting for it if need be; once.
    StartState takeStartState() { return m_work.get(); }

private:
    std::latch m_fontsLoaded{1};
    // Last, so that it is destroyed first: its end waits for the work.
    std::future<StartState> m_work;
};

} // namespace tintavo
