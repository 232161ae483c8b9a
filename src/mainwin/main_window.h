#pragma once

#include "color/color_pair.h"
#include "colorbox/color_box_transfer.h"
#include "colorbox/swatch_menu.h"
#include "mainwin/layout_rule.h"
#include "mainwin/main_controls.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QScrollBar;

namespace tintavo {

class ColorChooser;
class ColorEditing;
class PickerWindow;
class SettingsDialog;
class SettingsStore;
class AboutDialog;
class GlobalHotKey;
class MessageService;
class PreviewInspector;
class QuestionService;
class PointerGrab;
class ScreenChangeWatch;
class ScreenSampler;
class Session;
class DesktopPicking;
class FrameGrabber;
class SwatchView;
struct StartState;
struct LoadedPicture;
class PictureOpening;

// What the main window asks of the desktop. Tests swap in fakes; a null entry
// means the real thing.
struct MainWindowServices
{
    MessageService *messages = nullptr;
    ColorChooser *colorChooser = nullptr;
    QuestionService *questions = nullptr;
    ScreenSampler *sampler = nullptr;
    GlobalHotKey *hotKey = nullptr;
    // Ends the program once the main window has closed (default: quit the
    // application's event loop).
    std::function<void()> endProgram{};
    // Set where the desktop hands out picks one click at a time (a Wayland
    // session): each picker then gets its own, and sampler and hotKey go unused.
    std::function<std::unique_ptr<DesktopPicking>()> desktopPicking{};
    // The colour box's export and import file dialogs.
    ColorBoxTransfer::FileDialogs fileDialogs{};
    // Makes the picker's further global keys; by default the desktop's own
    // when hotKey is, and none beside a stand-in hotKey.
    std::function<std::unique_ptr<GlobalHotKey>()> makeHotKey{};
    // With desktopPicking: reads the whole desktop through the desktop, so
    // that the picker picks on a frame of its own; none: the desktop's pick.
    std::function<std::unique_ptr<FrameGrabber>()> frameGrabber{};
    // Says where the screen changes, so that the picker shows what is drawn
    // under a resting pointer; by default the desktop's own when sampler is,
    // and none beside a stand-in sampler (the picker then looks on a timer).
    std::function<std::unique_ptr<ScreenChangeWatch>()> makeScreenChangeWatch{};
    // Takes the pointer and the keyboard for a frozen frame; by default the
    // desktop's own.
    std::function<std::unique_ptr<PointerGrab>()> makeGrab{};
    // The picture to open as a frame; by default asked in the file dialog.
    std::function<QString()> picturePath{};
};

// The main window: views of a session's colour pair (its editors and preview)
// and colour box, and the command frame. It lives for the whole run; closing
// it ends the program.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // `session` must outlive the window.
    MainWindow(Session &session, const MainWindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: loads the window's contents and shows the window, then hands
    // the session what `takeStartState` returns, which may wait for the
    // settings file still being read. The window manager maps the window
    // meanwhile; nothing is drawn before the event loop runs, and by then the
    // window holds what was read.
    void start(const std::function<StartState()> &takeStartState);

    PreviewInspector &previewInspector() const { return *m_inspector; }

    // The command buttons.
    void chooseForegroundColor();
    void chooseBackgroundColor();
    void fillColorBoxAtRandom();
    void openPicker();
    // Shows `picture` as a frame on the monitor the window is on, with the
    // picker beside it.
    void openPicture(const LoadedPicture &picture);
    void openSettings();
    void openAbout();

    // What the desktop asks of the running program (its launcher started
    // again, a desktop-entry action): the window in front (the picker's,
    // while it is open); the capture key's work, also without the picker
    // open; the picker with the screen frozen (or back to live).
    void comeForward();
    void captureColor();
    void freezeScreen();

    // Saves the settings not yet saved, and the colour box when auto-save is
    // on, as when the session ends; a failure is reported, not asked about.
    void saveForSessionEnd();

    // The picker window while it is open.
    PickerWindow *picker() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The window's title and the help text in the preview.
    void loadContents();
    void useServices(const MainWindowServices &services);
    void buildColorViews();
    void buildColorBoxViews(const ColorBoxTransfer::FileDialogs &fileDialogs);
    void layOutControls();
    void scrollToShow(const QWidget *control);
    void keepOnScreen();
    void saveOnExit();
    void openSwatchMenu(int index, const QPoint &globalPos);
    // The swatch menu's commands on the selected swatch.
    void loadSwatchInto(PairRole role);
    void saveIntoSwatch(PairRole role);
    void showPair();
    void reportSaveFailure(const QString &message);
    void connectButton(QPushButton *button, void (MainWindow::*handler)());

    Session &m_session;
    MainControls m_controls;
    ColorEditing *m_colorEditing = nullptr;
    PreviewInspector *m_inspector = nullptr;
    SwatchView *m_swatchView = nullptr;
    SwatchMenu m_swatchMenu;
    MainLayout m_layout = kDesignLayout;
    QScrollBar *m_hScroll = nullptr;
    QScrollBar *m_vScroll = nullptr;

    std::unique_ptr<MessageService> m_ownMessages;
    std::unique_ptr<ColorChooser> m_ownColorChooser;
    std::unique_ptr<QuestionService> m_ownQuestions;
    std::unique_ptr<ScreenSampler> m_ownSampler;
    std::unique_ptr<GlobalHotKey> m_ownHotKey;
    MessageService *m_messages = nullptr;
    ColorChooser *m_colorChooser = nullptr;
    QuestionService *m_questions = nullptr;
    ScreenSampler *m_sampler = nullptr;
    GlobalHotKey *m_hotKey = nullptr;
    std::function<std::unique_ptr<DesktopPicking>()> m_desktopPicking;
    std::function<std::unique_ptr<FrameGrabber>()> m_frameGrabber;
    std::function<std::unique_ptr<GlobalHotKey>()> m_makeHotKey;
    std::function<std::unique_ptr<ScreenChangeWatch>()> m_makeScreenChangeWatch;
    std::function<std::unique_ptr<PointerGrab>()> m_makeGrab;
    QPointer<PickerWindow> m_picker;
    PictureOpening *m_pictureOpening = nullptr;
    // Failures to save heard while a frozen frame held the screen.
    QStringList m_heldFailures;
    QPointer<SettingsDialog> m_settingsDialog;
    QPointer<AboutDialog> m_aboutDialog;
    std::function<void()> m_endProgram;
};

} // namespace tintavo
