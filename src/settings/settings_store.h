#pragma once

#include "settings/ini_settings.h"
#include "settings/settings.h"

#include <QObject>

#include <vector>

namespace tintavo {

class SaveQueue;

// The running program's settings in one place. The window, the settings
// dialog, the preview's contrast switch and the picker read them here and
// change them only through change(), which saves the keys that change writes
// on the save queue: what is shown is what is saved.
class SettingsStore : public QObject
{
    Q_OBJECT

public:
    explicit SettingsStore(SaveQueue &saves, QObject *parent = nullptr);

    const Settings &settings() const { return m_settings; }

    // The settings as start-up read them; nothing is written.
    void setLoaded(const Settings &settings);

    // Takes next as the settings and saves the keys of `keys`. Changes made
    // while a save waits for the file go out with it, newest values first
    // to last.
    void change(const Settings &next, SettingsKeys keys);

signals:
    void changed();
    // A save failed; the line the user is shown.
    void saveFailed(const QString &message);

private:
    SaveQueue &m_saves;
    Settings m_settings;
    // The keys of the saves asked for and not yet ended, in the order first asked.
    std::vector<SettingsKeys> m_unsaved;
    quint64 m_lastNumber = 0;
};

} // namespace tintavo
