#pragma once

#include "color/color_pair.h"
#include "color/color_template.h"
#include "color/color_value.h"
#include "color/editor_controls.h"
#include "colorbox/color_box_transfer.h"
#include "colorbox/swatch_menu.h"
#include "mainwin/layout_rule.h"
#include "mainwin/main_controls.h"
#include "settings/safe_file.h"

#include <QPointer>
#include <QWidget>

class QScrollBar;
#include <functional>
#include <memory>
#include <vector>

namespace tintavo {

class ColorBoxModel;
class ColorBoxStore;
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
class SaveQueue;
class ScreenSampler;
class DesktopPicking;
class FrameGrabber;
class SwatchView;
struct StartState;

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
    std::function<void()> endProgram;
    // Set where the desktop hands out picks one click at a time (a Wayland
    // session): each picker then gets its own, and sampler and hotKey go unused.
    std::function<std::unique_ptr<DesktopPicking>()> desktopPicking;
    // The colour box's export and import file dialogs.
    ColorBoxTransfer::FileDialogs fileDialogs;
    // Makes the picker's further global keys; by default the desktop's own
    // when hotKey is, and none beside a stand-in hotKey.
    std::function<std::unique_ptr<GlobalHotKey>()> makeHotKey;
    // With desktopPicking: reads the whole desktop through the desktop, so
    // that the picker picks on a frame of its own; none: the desktop's pick.
    std::function<std::unique_ptr<FrameGrabber>()> frameGrabber{};
};

// The main window: the colour pair with its editors and preview, the command
// frame and the colour box. It lives for the whole run; closing it ends the
// program.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(const MainWindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: loads the window's contents, takes the settings, builds and
    // fills the colour box, shows the window and picks the next capture slot.
    void start(StartState state);
    // The same, reading the settings file here.
    void start();

    ColorPair &colorPair() const { return *m_pair; }
    ColorBoxModel &colorBox() const { return *m_colorBox; }
    PreviewInspector &previewInspector() const { return *m_inspector; }

    // The command buttons.
    void chooseForegroundColor();
    void chooseBackgroundColor();
    void fillColorBoxAtRandom();
    void openPicker();
    void openSettings();
    void openAbout();

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
    void layOutControls();
    void scrollToShow(const QWidget *control);
    void keepOnScreen();
    void saveOnExit();
    SaveResult saveAll();
    void openSwatchMenu(int index, const QPoint &globalPos);
    // The swatch menu's commands on the selected swatch.
    void loadSwatchInto(PairRole role);
    void saveIntoSwatch(PairRole role);
    void showPair();
    void connectButton(QPushButton *button, void (MainWindow::*handler)());

    ColorEditingControls m_editors;
    MainControls m_commands;
    ColorPair *m_pair = nullptr;
    ColorEditing *m_colorEditing = nullptr;
    PreviewInspector *m_inspector = nullptr;
    ColorBoxModel *m_colorBox = nullptr;
    ColorBoxStore *m_store = nullptr;
    SaveQueue *m_saves = nullptr;
    // As read at start-up and changed since; the next capture slot itself is
    // the colour box's.
    SettingsStore *m_settings = nullptr;
    SwatchView *m_swatchView = nullptr;
    SwatchMenu m_swatchMenu;
    // Read at start-up; the copy-as menus offer them.
    std::vector<CopyTemplate> m_copyFormats;
    MainLayout m_layout = designLayout();
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
    QPointer<PickerWindow> m_picker;
    QPointer<SettingsDialog> m_settingsDialog;
    QPointer<AboutDialog> m_aboutDialog;
    std::function<void()> m_endProgram;
};

} // namespace tintavo
