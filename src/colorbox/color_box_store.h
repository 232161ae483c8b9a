#pragma once

#include "color/color_value.h"
#include "settings/save_result.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

namespace tintavo {

class ColorBoxModel;
class SaveQueue;
class SettingsStore;

// Keeps the colour box on disk for one running copy of the program. It knows
// which swatches this copy changed since it loaded them or last saved, so a
// save leaves another copy's swatches alone; and with auto-save on it saves a
// moment after the first change of a burst, so a crash loses little. Saves
// run on the save queue; only the one at exit is waited for.
class ColorBoxStore : public QObject
{
    Q_OBJECT

public:
    // How long after a change the prompt save comes: changes within it, a
    // whole random fill included, go out in one write.
    static constexpr int kPromptDelayMs = 1500;

    // Saves box's colours and next capture slot into the file at path, and
    // saves promptly while settings say auto-save; it hears of every change
    // of the box itself. All of them must outlive the store.
    ColorBoxStore(const ColorBoxModel &box, const SettingsStore &settings, SaveQueue &saves,
                  const QString &path, QObject *parent = nullptr);

    // The box's colours now are what the file gave (or white, not loaded):
    // nothing counts as changed yet.
    void setLoaded();

    // Saves the changed swatches and StartPoint now and waits for the save,
    // as at exit; failures are returned for the caller to report.
    SaveResult save();

signals:
    // A prompt save failed where the one before it had not: one notice per
    // run of failures, not one per attempt.
    void promptSaveFailed(const QString &message);

private:
    // What one save writes, taken when it is asked for.
    struct Snapshot
    {
        std::vector<ColorValue> colors;
        std::vector<ColorValue> loaded;
        std::vector<bool> changed;
        qint32 startPoint = 0;
        quint64 number = 0;
    };

    // One swatch, or every swatch, was changed by this copy.
    void markChanged(int index);
    void markAllChanged();
    void schedule();
    std::vector<ColorValue> colors() const;
    bool autoSave() const;
    void promptSave();
    std::shared_ptr<const Snapshot> snapshot();
    // Whether the save of s is the newest to have ended; after a success,
    // what it wrote is what the file holds.
    bool finished(const Snapshot &s, const SaveResult &result);

    const ColorBoxModel &m_box;
    const SettingsStore &m_settings;
    SaveQueue &m_saves;
    QString m_path;
    std::vector<ColorValue> m_loaded;
    std::vector<bool> m_changed;
    QTimer m_timer;
    bool m_failing = false;
    quint64 m_lastNumber = 0;
    quint64 m_lastFinished = 0;
};

} // namespace tintavo
