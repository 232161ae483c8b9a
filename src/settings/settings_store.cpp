#include "settings/settings_store.h"

#include "settings/color_box_store.h"

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
    const quint64 number = ++m_lastNumber;
    // A save still waiting gives its place to this one, so this one writes
    // its keys too; one that has run already is written again unchanged.
    const auto known = std::ranges::find(m_unsaved, keys, &Unsaved::keys);
    if (known == m_unsaved.end())
        m_unsaved.push_back({keys, number});
    else
        known->change = number;
    const bool withDialog =
        std::ranges::find(m_unsaved, SettingsKeys::Dialog, &Unsaved::keys) != m_unsaved.end();
    m_saves.post(this, saveJob(), [this, number, withDialog](const SaveResult &result) {
        if (result) {
            saved(number);
            return;
        }
        if (withDialog)
            ColorBoxStore::printFailure(result);
        emit saveFailed(result.message());
    });
}

SaveResult SettingsStore::saveUnsaved()
{
    if (m_unsaved.empty())
        return {};
    const SaveResult result = m_saves.runAndWait(this, saveJob());
    if (result)
        saved(m_lastNumber);
    return result;
}

SaveQueue::Job SettingsStore::saveJob() const
{
    std::vector<SettingsKeys> keys;
    for (const Unsaved &u : m_unsaved)
        keys.push_back(u.keys);
    return [settings = m_settings, keys = std::move(keys), path = GetIniPath()] {
        return SaveSettingsKeys(settings, keys, path);
    };
}

void SettingsStore::saved(quint64 upTo)
{
    // Keys changed again since are still to be written, with their new value.
    std::erase_if(m_unsaved, [upTo](const Unsaved &u) { return u.change <= upTo; });
}

} // namespace tintavo
