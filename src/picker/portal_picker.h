#pragma once

#include "picker/picker_window.h"

class QPushButton;

namespace tintavo {

struct FrameOutput;
struct ScreenFrame;
enum class PickOutcome;

// The picker where the desktop hands out picks one click at a time (a
// Wayland session): the window cannot follow the pointer, and says so; its
// button 取色, like the desktop's own global key, asks the desktop for a
// frame of the screen and shows it frozen, to pick from as the live picker
// does; where the desktop gives no frame, it starts the desktop's own pick,
// whose colour is shown and stored the same way.
class PortalPicker : public PickerWindow
{
    Q_OBJECT

public:
    PortalPicker(ColorBoxModel &colorBox, std::unique_ptr<DesktopPicking> desktopPicking,
                 PickerOptions options = {});
    ~PortalPicker() override;

    void capture() override;

protected:
    bool averages() const override { return m_frames && !m_framesRefused; }
    bool canFreeze() const override { return averages(); }
    void freeze() override;
    void restoreNotice() override;
    void closing() override;

private:
    QString parentWindowId();
    void startPick();
    void pickButtonClicked();
    void stopWaiting();
    void showFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs);
    void frameRefused(PickOutcome outcome);
    void finishDesktopPick(PickOutcome outcome, Rgb color);

    std::unique_ptr<DesktopPicking> m_desktop;
    std::unique_ptr<FrameGrabber> m_frames;
    bool m_framesRefused = false; // then picks are the desktop's own
    bool m_sayFramesRefused = false;
    QString m_framesTrouble;
    bool m_desktopKey = true;   // until the desktop refuses the key
    bool m_keyNotBound = false; // it took the request and bound nothing
    // 取色, or 停止等待 while a screenshot waits for the desktop's permission,
    // or 桌面取色 once it was refused.
    QPushButton *m_pickButton = nullptr;
    QTimer *m_screenshotWait = nullptr;
    bool m_waitingForScreenshot = false;
    bool m_offerDesktopPick = false;
    QString m_pickTrouble; // why the last pick failed; empty when it did not
    bool m_pickCancelled = false;
};

} // namespace tintavo
