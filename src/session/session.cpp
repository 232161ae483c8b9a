#include "session/session.h"

#include "color/color_pair.h"
#include "colorbox/color_box_model.h"
#include "colorbox/color_box_store.h"
#include "session/start_state.h"
#include "settings/save_queue.h"
#include "settings/settings_store.h"

namespace tintavo {

Session::Session(const QString &settingsPath, QObject *parent)
    : QObject(parent), m_settingsPath(settingsPath), m_saves(new SaveQueue(this)),
      m_pair(new ColorPair(this)), m_colorBox(new ColorBoxModel(this)),
      m_settings(new SettingsStore(*m_saves, settingsPath, this)),
      m_boxStore(new ColorBoxStore(*m_colorBox, *m_settings, *m_saves, settingsPath, this))
{
    connect(m_settings, &SettingsStore::saveFailed, this, &Session::saveFailed);
    connect(m_boxStore, &ColorBoxStore::promptSaveFailed, this, &Session::saveFailed);
}

void Session::load(StartState state)
{
    const Settings &settings = state.settings;
    m_settings->setLoaded(settings);
    m_copyFormats = std::move(state.copyFormats);
    // The stored colours, or an empty (white) box when auto-load is off.
    std::vector<Rgb> colors = std::move(state.storedColors);
    colors.resize(size_t(settings.swatchCount), kRgbWhite);
    m_colorBox->setSwatches(std::move(colors));
    if (state.pair) {
        m_pair->setColor(PairRole::Foreground, state.pair->first);
        m_pair->setColor(PairRole::Background, state.pair->second);
    }
    m_colorBox->setNextCaptureSlot(
        startCaptureSlot(m_colorBox->colors(), settings.rememberStartSlot, settings.startSlot));
    m_boxStore->setLoaded();
}

SaveResult Session::saveAll()
{
    // Settings whose save failed during the run get their last chance here.
    const SaveResult settings = m_settings->saveUnsaved();
    if (!settings || !m_settings->settings().autoSave)
        return settings;
    return m_boxStore->save();
}

} // namespace tintavo
