#include "settings/settings_store.h"

#include "settings/color_box_store.h"
#include "settings/save_queue.h"

#include <algorithm>

namespace tintavo {

SettingsStore::SettingsStore(SaveQueue &saves, QObject *parent) : QObject(parent), m_saves(saves) {}

void SettingsStore::setLoaded(const Settings &settings)
{
    m_settings = settings;
    emit changed();
}

void SettingsStore::change(const Settings &next, SettingsKeys keys)
{
    m_settings = next;
    emit changed();
    // A save still waiting gives its place to this one, so this one writes
    // its keys too; one that has run already is written again unchanged.
    if (std::ranges::find(m_unsaved, keys) == m_unsaved.end())
        m_unsaved.push_back(keys);
    const quint64 number = ++m_lastNumber;
    const bool withDialog = std::ranges::find(m_unsaved, SettingsKeys::Dialog) != m_unsaved.end();
    m_saves.post(
        this,
        [settings = m_settings, keys = m_unsaved, path = GetIniPath()] {
            return SaveSettingsKeys(settings, keys, path);
        },
        [this, number, withDialog](const SaveResult &result) {
            if (number == m_lastNumber)
                m_unsaved.clear();
            if (result)
                return;
            if (withDialog)
                ColorBoxStore::printFailure(result);
            emit saveFailed(result.message());
        });
}

} // namespace tintavo
