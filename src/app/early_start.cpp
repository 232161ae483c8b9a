#include "app/early_start.h"

#include <fontconfig/fontconfig.h>

namespace tintavo {

EarlyStart::EarlyStart() : m_thread([this] { run(); }) {}

EarlyStart::~EarlyStart()
{
    {
        const std::lock_guard lock(m_mutex);
        m_abandoned = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void EarlyStart::run()
{
    // The toolkit's first text measurement would otherwise read the whole
    // font configuration on the window's thread; fontconfig keeps one
    // configuration for the process, whichever thread loaded it.
    FcInit();

    QString path;
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_path || m_abandoned; });
        if (!m_path)
            return;
        path = *m_path;
    }
    StartState state = tintavo::readStartState(path);
    {
        const std::lock_guard lock(m_mutex);
        m_state = std::move(state);
    }
    m_changed.notify_all();
}

void EarlyStart::readStartState(const QString &path)
{
    {
        const std::lock_guard lock(m_mutex);
        m_path = path;
    }
    m_changed.notify_all();
}

StartState EarlyStart::takeStartState()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_state.has_value(); });
    return std::move(*m_state);
}

} // namespace tintavo
