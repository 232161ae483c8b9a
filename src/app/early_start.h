#pragma once

#include "session/start_state.h"

#include <QString>

#include <future>

namespace tintavo {

// The start-up work that needs no window, done on another core while the
// toolkit connects to the display and the main window is built: the font
// configuration, then the settings file.
class EarlyStart
{
public:
    // Reads the settings file at settingsPath unless it is empty.
    explicit EarlyStart(const QString &settingsPath);

    // What was read from the settings file, waiting for it if need be; once.
    StartState takeStartState() { return m_work.get(); }

private:
    std::future<StartState> m_work;
};

} // namespace tintavo
