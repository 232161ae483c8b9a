#include "settings/settings_store.h"

#include "settings/ini_settings.h"

#include <algorithm>

namespace tintavo {

SettingsStore::SettingsStore(SaveQueue &saves, const QString &path, QObject *parent)
    : QObject(parent), m_saves(saves), m_path(path)
{
}

void SettingsStore::setLoaded(const Settings &settings)
{
    m_settings = settings;
    emit changed();
}

void SettingsStore::change(const Settings &next)
{
    change(next, false);
}

void SettingsStore::confirm(const Settings &next)
{
    change(next, true);
}

void SettingsStore::change(const Settings &next, bool confirmed)
{
    const Settings before = std::exchange(m_settings, next);
    const quint64 number = ++m_lastNumber;
    bool any = false;
    for (const SettingRow &row : settingRows()) {
        if (!row.written || !(differs(row, before, next) || (confirmed && row.inDialog)))
            continue;
        any = true;
        // A save still waiting gives its place to this one, so this one writes
        // its keys too; one that has run already is written again unchanged.
        const auto known = std::ranges::find(m_unsaved, &row, &Unsaved::row);
        if (known == m_unsaved.end())
            m_unsaved.push_back({&row, number});
        else
            known->change = number;
    }
    if (!any)
        return;
    emit changed();
    const bool withDialog =
        std::ranges::any_of(m_unsaved, [](const Unsaved &u) { return u.row->inDialog; });
    m_saves.post(this, saveJob(), [this, number, withDialog](const SaveResult &result) {
        if (result) {
            saved(number);
            return;
        }
        if (withDialog)
            printSaveFailure(result);
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
    std::vector<const SettingRow *> rows;
    for (const Unsaved &u : m_unsaved)
        rows.push_back(u.row);
    return [settings = m_settings, rows = std::move(rows), path = m_path] {
        return saveSettingRows(settings, rows, path);
    };
}

void SettingsStore::saved(quint64 upTo)
{
    // Keys changed again since are still to be written, with their new value.
    std::erase_if(m_unsaved, [upTo](const Unsaved &u) { return u.change <= upTo; });
}

} // namespace tintavo
