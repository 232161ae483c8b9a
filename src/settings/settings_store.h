#pragma once

#include "settings/save_queue.h"
#include "settings/settings.h"

#include <QObject>

#include <vector>

namespace tintavo {

// The running program's settings in one place. The window, the settings
// dialog, the preview's contrast switch and the picker read them here and
// change them only through change(), which saves what changed on the save
// queue: what is shown is what is saved.
class SettingsStore : public QObject
{
    Q_OBJECT

public:
    // Saves into the settings file at path.
    SettingsStore(SaveQueue &saves, const QString &path, QObject *parent = nullptr);

    const Settings &settings() const { return m_settings; }

    // The settings as start-up read them; nothing is written.
    void setLoaded(const Settings &settings);

    // Takes next as the settings and saves the keys whose value it changes.
    // Changes made while a save waits for the file go out with it, newest
    // values first to last; keys whose save failed go out again with every
    // later save until one of them succeeds.
    void change(const Settings &next);
    // The settings dialog's Save: as change(), and the keys the dialog shows
    // are written even where unchanged, as the user confirmed them.
    void confirm(const Settings &next);
    // change() of one field.
    template <typename T> void change(T Settings::*field, const T &value)
    {
        Settings next = m_settings;
        next.*field = value;
        change(next);
    }

    // Writes the keys not yet saved and waits for it, as at exit.
    SaveResult saveUnsaved();

signals:
    void changed();
    // A save failed; the line the user is shown.
    void saveFailed(const QString &message);

private:
    struct Unsaved
    {
        const SettingRow *row;
        quint64 change; // the newest change of it
    };

    void change(const Settings &next, bool confirmed);
    SaveQueue::Job saveJob() const;
    // A save that covered every change up to `upTo` succeeded.
    void saved(quint64 upTo);

    SaveQueue &m_saves;
    QString m_path;
    Settings m_settings;
    // The keys not yet in the file, in the order first changed.
    std::vector<Unsaved> m_unsaved;
    quint64 m_lastNumber = 0;
};

} // namespace tintavo
