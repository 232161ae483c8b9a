#include "colorbox/color_box_store.h"

#include "colorbox/color_box_model.h"
#include "settings/ini_settings.h"
#include "settings/save_queue.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <cstdio>

namespace tintavo {

ColorBoxStore::ColorBoxStore(const ColorBoxModel &box, const SettingsStore &settings,
                             SaveQueue &saves, const QString &path, QObject *parent)
    : QObject(parent), m_box(box), m_settings(settings), m_saves(saves), m_path(path)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kPromptDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &ColorBoxStore::promptSave);
    connect(&box, &ColorBoxModel::colorChanged, this, &ColorBoxStore::markChanged);
    connect(&box, &ColorBoxModel::colorsChanged, this, &ColorBoxStore::markAllChanged);
}

void ColorBoxStore::setLoaded()
{
    m_timer.stop();
    m_loaded = colors();
    m_changed.assign(m_loaded.size(), false);
}

std::vector<ColorValue> ColorBoxStore::colors() const
{
    // The file keeps the colour box in its packed form.
    std::vector<ColorValue> out(m_box.colors().size());
    std::ranges::transform(m_box.colors(), out.begin(), toColorValue);
    return out;
}

bool ColorBoxStore::autoSave() const
{
    return m_settings.settings().autoSave;
}

void ColorBoxStore::markChanged(int index)
{
    if (index < 0 || size_t(index) >= m_changed.size())
        return;
    m_changed[size_t(index)] = true;
    schedule();
}

void ColorBoxStore::markAllChanged()
{
    m_changed.assign(m_changed.size(), true);
    schedule();
}

void ColorBoxStore::schedule()
{
    // Started once per burst, not pushed back by every change, so a steady
    // stream of changes still reaches the disk.
    if (!m_timer.isActive() && autoSave())
        m_timer.start();
}

std::shared_ptr<const ColorBoxStore::Snapshot> ColorBoxStore::snapshot()
{
    m_timer.stop();
    auto s = std::make_shared<Snapshot>();
    s->colors = colors();
    s->loaded = m_loaded;
    s->changed = m_changed;
    s->changed.resize(s->colors.size(), true);
    s->startPoint = m_box.nextCaptureSlot();
    s->number = ++m_lastNumber;
    return s;
}

bool ColorBoxStore::finished(const Snapshot &s, const SaveResult &result)
{
    // A save overtaken by a newer one that has ended already tells nothing new.
    if (s.number < m_lastFinished)
        return false;
    m_lastFinished = s.number;
    if (result) {
        m_loaded = s.colors;
        // A swatch changed again while the save ran is still this copy's change.
        const std::vector<ColorValue> now = colors();
        m_changed.resize(now.size(), true);
        for (size_t i = 0; i < now.size(); ++i)
            m_changed[i] = m_changed[i] && (i >= s.colors.size() || now[i] != s.colors[i]);
    }
    return true;
}

SaveResult ColorBoxStore::save()
{
    const std::shared_ptr<const Snapshot> s = snapshot();
    const SaveResult result = m_saves.runAndWait(this, [s, path = m_path] {
        return saveColorBox(s->colors, s->loaded, s->changed, s->startPoint, path);
    });
    finished(*s, result);
    return result;
}

void ColorBoxStore::promptSave()
{
    if (!autoSave())
        return;
    const std::shared_ptr<const Snapshot> s = snapshot();
    m_saves.post(
        this,
        [s, path = m_path] {
            return saveColorBox(s->colors, s->loaded, s->changed, s->startPoint, path);
        },
        [this, s](const SaveResult &result) {
            if (!finished(*s, result))
                return;
            if (!result && !m_failing) {
                printSaveFailure(result);
                emit promptSaveFailed(result.message());
            }
            m_failing = !result;
        });
}

} // namespace tintavo
