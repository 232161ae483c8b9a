#pragma once

#include "picker/picker_window.h"

#include <vector>

namespace tintavo {

// The picker over the live screen (X11): it follows the pointer, and while it
// is open Alt+Shift+S stores the colour under it into the colour box's next
// slot, Alt+Shift+arrows step the pointer by one device pixel, and
// Alt+Shift+F freezes the screen. It holds those keys from its opening until
// it closes or is destroyed.
class LivePicker : public PickerWindow
{
    Q_OBJECT

public:
    LivePicker(ColorBoxModel &colorBox, ScreenSampler &sampler, GlobalHotKey &hotKey,
               PickerOptions options = {});
    ~LivePicker() override;

    void capture() override;
    void sampleUnderPointer() override;

protected:
    PickEngine *liveEngine() const override { return m_engine.get(); }
    bool averages() const override { return true; }
    bool canFreeze() const override;
    void freeze() override;
    void restoreNotice() override;
    void closing() override;

private:
    void grabNudgeKeys();
    void freezeNow();
    void cannotFreeze(const QString &why);
    void showAgain();

    ScreenSampler &m_sampler;
    GlobalHotKey &m_hotKey;
    std::unique_ptr<PickEngine> m_engine;
    std::vector<std::unique_ptr<GlobalHotKey>> m_nudgeKeys;
    bool m_nudgeKeysTaken = false;
    std::unique_ptr<GlobalHotKey> m_freezeKey;
    std::unique_ptr<PointerWatch> m_pointerWatch;
    std::unique_ptr<ScreenChangeWatch> m_screenWatch;
    // Without change reports a resting pointer's pixels are read at every tick.
    bool m_screenWatched = false;
    bool m_freezing = false; // the loupe is going before the frame is read
    // What the notice says when nothing is under way.
    QString m_hint;
    QString m_hintDetails;
};

} // namespace tintavo
