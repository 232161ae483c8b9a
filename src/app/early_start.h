#pragma once

#include "mainwin/start_state.h"

#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace tintavo {

// The start-up work that needs no window, done on another core while the
// toolkit connects to the display and the main window is built: the font
// configuration first, then the settings file once its path is known.
class EarlyStart
{
public:
    EarlyStart();
    // Ends the thread, also when no settings file was asked for.
    ~EarlyStart();
    EarlyStart(const EarlyStart &) = delete;
    EarlyStart &operator=(const EarlyStart &) = delete;

    // Reads the settings file at path next; called once the application
    // exists (the path depends on where the program runs from).
    void readStartState(const QString &path);
    // What readStartState read, waiting for it if it is not done yet.
    StartState takeStartState();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<QString> m_path;
    bool m_abandoned = false;
    std::optional<StartState> m_state;
    std::thread m_thread;
};

} // namespace tintavo
