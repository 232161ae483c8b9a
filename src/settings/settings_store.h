#pragma once

#include "settings/ini_settings.h"
#include "settings/save_queue.h"
#include "settings/settings.h"

#include <QObject>

#include <vector>

namespace tintavo {

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
    // to last; keys whose save failed go out again with every later save
    // until one of them succeeds.
    void change(const Settings &next, SettingsKeys keys);

    // Writes the keys not yet saved and waits for it, as at exit.
    SaveResult saveUnsaved();

signals:
    void changed();
    // A save failed; the line the user is shown.
    void saveFailed(const QString &message);

private:
    SaveQueue &m_saves;
    Settings m_settings;
    struct Unsaved
    {
        SettingsKeys keys;
        quint64 change; // the newest change of them
    };

    SaveQueue::Job saveJob() const;
    // A save that covered every change up to `upTo` succeeded.
    void saved(quint64 upTo);

    // The keys not yet in the file, in the order first asked.
    std::vector<Unsaved> m_unsaved;
    quint64 m_lastNumber = 0;
};

} // namespace tintavo
