#pragma once

#include "color/rgb.h"
#include "picker/frame_session.h"
#include "picker/pick_settings.h"
#include "platform/pointer_watch.h"
#include "platform/screen_change_watch.h"

#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QMenu;
class QScreen;
class QTimer;

namespace tintavo {

class ColorBoxModel;
class ColorPair;
class DesktopPicking;
class DisplayProfile;
class FrameGrabber;
class GlobalHotKey;
class PickEngine;
class PointerGrab;
class QuestionService;
class ScreenSampler;
struct LoadedPicture;

// What a picker is opened with besides the desktop's services.
struct PickerOptions
{
    PickSettings picking{};
    // Makes the keys that step the pointer one pixel (Alt+Shift+arrows) and
    // freeze the screen (Alt+Shift+F); none where the desktop has no global
    // keys.
    std::function<std::unique_ptr<GlobalHotKey>()> makeHotKey{};
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
    // Asks before main colours taken from a frame overwrite the colour box;
    // none: they are not written.
    QuestionService *questions = nullptr;
};

// The picker: a small always-on-top window that shows the position and the
// colour under the pointer, stores that colour into the colour box's next
// slot, and picks on a frozen frame of the screen, shown over everything,
// until Escape, a right click or Alt+Shift+F again. This is what both kinds
// have in common: the read-outs, the swatch, the notice line, the menu and
// the frame; LivePicker follows the pointer over the live screen (X11),
// PortalPicker picks through the desktop (Wayland).
class PickerWindow : public QWidget
{
    Q_OBJECT

public:
    ~PickerWindow() override;

    // What the capture key does: stores the colour shown; where the desktop
    // hands out picks, starts one on a fresh frame (or stores on the frame
    // shown).
    virtual void capture() = 0;
    // Reads the screen once and picks from that frame from now on; back to
    // the live screen when it is frozen already.
    void toggleFreeze();
    // Freezes after `seconds`, counting down in the notice.
    void freezeLater(int seconds);
    // Reads the pointer position and the colour under it and shows both, as
    // the live picker's timer does; nothing where the desktop picks.
    virtual void sampleUnderPointer() {}

    // Shows `picture` as a frame on `monitor`, to pick from and inspect as
    // from a frozen frame, in place of any frame shown now.
    void openPicture(const LoadedPicture &picture, QScreen *monitor);

    // Whether a frozen frame holds the pointer and the keyboard: a window
    // opened now would sit under it, out of reach, until frameClosed().
    bool holdsScreen() const { return m_session != nullptr; }

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
    // The user turned the wheel over the picker, or over a frame's loupe.
    void loupeCellsChosen(int cells);

protected:
    PickerWindow(ColorBoxModel &colorBox, PickerOptions options);

    // The engine of the live screen, which follows the pointer; none where
    // the desktop picks.
    virtual PickEngine *liveEngine() const { return nullptr; }
    // Whether picks average a square and show the loupe: not the desktop's
    // own one-pixel pick.
    virtual bool averages() const = 0;
    virtual bool canFreeze() const = 0;
    virtual void freeze() = 0;
    // The notice for when nothing is under way.
    virtual void restoreNotice() = 0;
    // The picker closes: the keys it holds go back to the desktop.
    virtual void closing() = 0;

    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    // Keeps `cells` for the next frame and for the live screen's engine.
    void useLoupeCells(int cells);

    // The engine that reads now: the frame's, or the live screen's.
    PickEngine *engine() const;
    void showSample(QPoint pointer, std::optional<Rgb> color, const DisplayProfile *profile);
    void showColor(Rgb color);
    void showColorCode(Rgb color);
    void setNotice(const QString &text, const QString &details = {});
    // Stores the colour under the pointer, read at this moment, into the
    // colour box's next capture slot.
    void storeColor();
    // Stores a colour read at a press into the next slot, and says where.
    void store(Rgb color);
    // Whether a countdown to freezing was under way.
    bool stopCountdown();
    // Picks on `session`'s frame until it ends; the picker's keys work there.
    void openSession(FrameSession *session);
    FrameSession::Setup frameSetup() const;
    // Shows the picker again above a frozen frame, as a panel of its own
    // where its contents were; unfreeze() puts it back.
    void showAboveFrame();
    void unfreeze();
    // For a destructor: the frame goes, nothing of it outliving what it reads.
    void closeForGood();
    // Hides the loupe, which would draw over the menu, and the menu.
    bool menuShown() const;
    void hideMenu();

    ColorBoxModel &m_colorBox;
    PickerOptions m_options;
    QLabel *m_positionLabel = nullptr;
    QLabel *m_colorLabel = nullptr;
    QLabel *m_instruction = nullptr;
    QLabel *m_notice = nullptr;
    FrameSession *m_session = nullptr;
    bool m_closed = false;

private:
    void showNotice(const QString &text, const QString &details);
    void sayStored(int slot, Rgb color);
    void buildMenu();
    int sampleSize() const;
    void setSampleSize(int size);

    QWidget *m_swatch = nullptr;
    QMenu *m_menu = nullptr;
    // Where the desktop had the picker's frame before it showed above a
    // frozen frame.
    QPoint m_managedAt;
    QTimer *m_countdown = nullptr;
    int m_secondsLeft = 0;
    int m_wheelPending = 0; // eighths of a degree short of a notch
    // What the notice says now, once it has said where a colour went.
    QString m_noticeText;
    QString m_noticeDetails;
    QTimer *m_storedShown = nullptr;
    Rgb m_shownColor;
};

// The picker for this desktop: one that picks through `desktopPicking` where
// there is one (a Wayland session), else one that follows the pointer over
// `sampler`'s screen and takes the global keys, the capture key `hotKey`.
std::unique_ptr<PickerWindow> createPicker(ColorBoxModel &colorBox, ScreenSampler &sampler,
                                           GlobalHotKey &hotKey,
                                           std::unique_ptr<DesktopPicking> desktopPicking = {},
                                           PickerOptions options = {});

} // namespace tintavo
