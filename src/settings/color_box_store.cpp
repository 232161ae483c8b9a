#include "settings/color_box_store.h"

#include "settings/ini_settings.h"

#include <cstdio>

namespace tintavo {

ColorBoxStore::ColorBoxStore(Source source, QObject *parent)
    : QObject(parent), m_source(std::move(source))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kPromptDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &ColorBoxStore::promptSave);
}

void ColorBoxStore::setLoaded(const std::vector<ColorValue> &colors)
{
    m_timer.stop();
    m_loaded = colors;
    m_changed.assign(colors.size(), false);
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
    if (!m_timer.isActive() && m_source.autoSave())
        m_timer.start();
}

SaveResult ColorBoxStore::save()
{
    m_timer.stop();
    const std::vector<ColorValue> &colors = m_source.colors();
    std::vector<bool> changed = m_changed;
    changed.resize(colors.size(), true);
    const SaveResult result = SaveColorBox(colors, m_loaded, changed, m_source.startPoint());
    if (result) {
        m_loaded = colors;
        m_changed.assign(colors.size(), false);
    }
    return result;
}

void ColorBoxStore::promptSave()
{
    if (!m_source.autoSave())
        return;
    const SaveResult result = save();
    if (!result && !m_failing) {
        printFailure(result);
        emit promptSaveFailed(result.message());
    }
    m_failing = !result;
}

void ColorBoxStore::printFailure(const SaveResult &result)
{
    std::fprintf(stderr, "%s\n", result.message().toUtf8().constData());
    std::fflush(stderr);
}

} // namespace tintavo
