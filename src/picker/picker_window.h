#pragma once

#include "color/rgb.h"
#include "platform/pointer_watch.h"
#include "platform/screen_change_watch.h"

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace tintavo {

class ColorBoxModel;
class ColorPair;
class FrameInspector;
class GlobalHotKey;
class DesktopPicking;
class DisplayProfile;
class FrameGrabber;
class FrozenScreen;
class PickEngine;
class PointerGrab;
class ScreenSampler;
struct FrameOutput;
struct ScreenFrame;
enum class PickOutcome;

// What a picker is opened with besides the desktop's services.
struct PickerOptions
{
    // A magnified view of the pixels around the pointer follows it while the
    // picker is open and the screen can be read.
    bool loupe = true;
    // The side of the square of device pixels whose mean is picked: 1, 3 or 5.
    int sampleSize = 1;
    // Makes the keys that step the pointer one pixel (Alt+Shift+arrows) and
    // freeze the screen (Alt+Shift+F); none where the desktop has no global
    // keys.
    std::function<std::unique_ptr<GlobalHotKey>()> makeHotKey{};
    // Screen values go back to sRGB through the profile the desktop
    // publishes for the monitor, where it publishes one.
    bool colorManaged = true;
    // Takes the pointer and the keyboard while the screen is frozen; none
    // where the screen cannot be frozen.
    std::function<std::unique_ptr<PointerGrab>()> makeGrab{};
    // Says when the pointer moves, so that the picker follows it at once and
    // rests with it; where there is none, or it cannot watch, the picker
    // looks on a short timer.
    std::function<std::unique_ptr<PointerWatch>()> makePointerWatch = &createPointerWatch;
    // Says where the screen changes, so that what is drawn under a resting
    // pointer shows at once; where there is none, or it cannot watch, the
    // picker looks again on a short timer.
    std::function<std::unique_ptr<ScreenChangeWatch>()> makeScreenChangeWatch =
        &createScreenChangeWatch;
    // Where the desktop hands out picks itself (Wayland): reads the whole
    // desktop through it, so that a pick is made on a frame in Tintavo's own
    // windows, with the loupe, steps and averages; none, or where the desktop
    // refuses, its one-pixel pick.
    std::function<std::unique_ptr<FrameGrabber>()> makeFrameGrabber{};
    // The main window's pair: its text colour is measured over regions of
    // the frozen frame, and a region's colour can become its background.
    ColorPair *pair = nullptr;
};

// The picker: a small always-on-top window that follows the pointer over the
// whole screen and shows the position and the colour under it. While it is
// open, Alt+Shift+S stores that colour into the colour box's next slot,
// Alt+Shift+arrows step the pointer by one device pixel, and Alt+Shift+F
// freezes the screen: the picker then picks from that frame, shown over
// everything, until Escape, a right click or Alt+Shift+F again. It holds
// those keys from its opening until it closes or is destroyed.
//
// Where the desktop hands out picks one click at a time (desktopPicking, a
// Wayland session), the window cannot follow the pointer: it says so, and its
// button 取色, like the desktop's own global key, asks the desktop for a frame
// of the screen and shows it frozen, to pick from as above; where the desktop
// gives no frame, it starts the desktop's own pick, whose colour is shown and
// stored the same way.
class PickerWindow : public QWidget
{
    Q_OBJECT

public:
    PickerWindow(ColorBoxModel &colorBox, ScreenSampler &sampler, GlobalHotKey &hotKey,
                 std::unique_ptr<DesktopPicking> desktopPicking = {}, PickerOptions options = {});
    ~PickerWindow() override;

    // Reads the pointer position and the colour under it and shows both, as
    // the picker's timer does: once the pointer has moved, and where the
    // screen's changes are not reported, also under a resting pointer.
    void sampleUnderPointer();

    // Stores the colour under the pointer, read at this moment, into the
    // colour box's next capture slot.
    void storeColor();

    // What the capture key does: stores the colour shown; where the desktop
    // hands out picks, starts one on a fresh frame (or stores on the frame
    // shown).
    void capture();

    // Steps the pointer by `step` device pixels and samples where it lands.
    void nudgePointer(QPoint step);

    int sampleSize() const;
    void setSampleSize(int size);

    // Reads the screen once and picks from that frame from now on; back to
    // the live screen when it is frozen already.
    void toggleFreeze();
    // Freezes after `seconds`, counting down in the notice.
    void freezeLater(int seconds);

    // Whether a frozen frame holds the pointer and the keyboard: a window
    // opened now would sit under it, out of reach, until frameClosed().
    bool holdsScreen() const { return m_frozen != nullptr; }

signals:
    // The user closed the picker.
    void closed();
    // The user chose another sample size, switched the loupe or colour
    // management in the window's menu.
    void sampleSizeChosen(int size);
    // The frozen frame left the screen, and the pointer and keyboard are free.
    void frameClosed();
    void loupeChosen(bool on);
    void colorManagementChosen(bool on);

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showSample(QPoint pointer, std::optional<Rgb> color, const DisplayProfile *profile);
    void setNotice(const QString &text, const QString &details = {});
    void showNotice(const QString &text, const QString &details);
    void sayStored(int slot, Rgb color);
    void restoreNotice();
    void freeze();
    void freezeNow();
    void showAgain();
    // Stores a colour read at a press into the next slot, and says where.
    void capture(Rgb color);
    void unfreeze();
    void frozenKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    void buildMenu();
    void showColor(Rgb color);
    void showColorCode(Rgb color);
    void grabNudgeKeys(const std::function<std::unique_ptr<GlobalHotKey>()> &makeHotKey);
    void setUpDesktopPicking();
    void listenToFrame(PointerGrab *input);
    void showDesktopFrame(const ScreenFrame &frame, const QList<FrameOutput> &outputs);
    void frameRefused(PickOutcome outcome);
    QString parentWindowId();
    void startDesktopPick();
    void pickButtonClicked();
    void stopWaiting();
    void finishDesktopPick(PickOutcome outcome, Rgb color);
    void showDesktopNotice();

    ColorBoxModel &m_colorBox;
    ScreenSampler &m_sampler;
    GlobalHotKey &m_hotKey;
    QLabel *m_positionLabel = nullptr;
    QLabel *m_colorLabel = nullptr;
    QLabel *m_instruction = nullptr;
    QLabel *m_notice = nullptr;
    QWidget *m_swatch = nullptr;
    QMenu *m_menu = nullptr;
    // What is picked, where the screen can be read; none where the desktop
    // hands out picks itself.
    std::unique_ptr<PickEngine> m_engine;
    std::vector<std::unique_ptr<GlobalHotKey>> m_nudgeKeys;
    bool m_nudgeKeysTaken = false;
    std::unique_ptr<GlobalHotKey> m_freezeKey;
    // While frozen: the frame, and the pointer and keyboard taken.
    std::unique_ptr<FrozenScreen> m_frozen;
    std::unique_ptr<PointerGrab> m_grab;
    std::unique_ptr<PointerWatch> m_pointerWatch;
    std::unique_ptr<ScreenChangeWatch> m_screenWatch;
    // Without change reports a resting pointer's pixels are read at every tick.
    bool m_screenWatched = false;
    std::unique_ptr<FrameInspector> m_inspector;
    bool m_freezing = false; // the loupe is going before the frame is read
    bool m_closed = false;
    // Where the desktop had the picker's frame before it showed above a
    // frozen frame.
    QPoint m_managedAt;
    QTimer *m_countdown = nullptr;
    int m_secondsLeft = 0;
    // What the notice says when nothing is under way.
    QString m_hint;
    QString m_hintDetails;
    // What it says now, once it has said where a colour went.
    QString m_noticeText;
    QString m_noticeDetails;
    QTimer *m_storedShown = nullptr;
    Rgb m_shownColor;
    std::unique_ptr<DesktopPicking> m_desktop;
    PickerOptions m_options;
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
