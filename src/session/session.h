#pragma once

#include "color/color_template.h"
#include "settings/save_result.h"

#include <QObject>
#include <QString>

#include <vector>

namespace tintavo {

class ColorBoxModel;
class ColorBoxStore;
class ColorPair;
class SaveQueue;
class SettingsStore;
struct StartState;

// One run's state, apart from any window: the colour pair, the colour box,
// the settings, and the stores that keep the last two in the settings file.
// Windows are views over it; a test can drive a whole run through it alone.
class Session : public QObject
{
    Q_OBJECT

public:
    // Every save goes to the settings file at settingsPath.
    explicit Session(const QString &settingsPath, QObject *parent = nullptr);

    const QString &settingsPath() const { return m_settingsPath; }
    ColorPair &pair() const { return *m_pair; }
    ColorBoxModel &colorBox() const { return *m_colorBox; }
    SettingsStore &settings() const { return *m_settings; }
    // The user's own copy formats, read at start.
    const std::vector<CopyTemplate> &copyFormats() const { return m_copyFormats; }

    // Takes what start-up read: the settings, the stored colours (white where
    // there are none), the pair the command line gave, and the slot the next
    // capture writes. Nothing counts as changed yet.
    void load(StartState state);

    // Saves the settings not yet saved, and the colour box when auto-save is
    // on, and waits for it: the end of a run.
    SaveResult saveAll();

signals:
    // A save made while the program runs failed; the line the user is shown.
    void saveFailed(const QString &message);

private:
    QString m_settingsPath;
    // Made first, so deleted first: the saves still queued finish while the
    // stores they report to still exist.
    SaveQueue *m_saves;
    ColorPair *m_pair;
    ColorBoxModel *m_colorBox;
    SettingsStore *m_settings;
    ColorBoxStore *m_boxStore;
    std::vector<CopyTemplate> m_copyFormats;
};

} // namespace tintavo
