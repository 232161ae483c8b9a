#include "mainwin/main_window.h"

#include "about/about_dialog.h"
#include "color/color_editing.h"
#include "color/color_paste.h"
#include "color/copy_as_menu.h"
#include "color/preview_inspector.h"
#include "color/qt_color_chooser.h"
#include "color/text_colors.h"
#include "colorbox/color_box_model.h"
#include "colorbox/color_box_store.h"
#include "colorbox/random_fill.h"
#include "colorbox/swatch_palettes.h"
#include "colorbox/swatch_view.h"
#include "common/text_box.h"
#include "desktop/message_boxes.h"
#include "mainwin/help_text.h"
#include "mainwin/picture_opening.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/global_hotkey.h"
#include "platform/screen_change_watch.h"
#include "platform/screen_sampler.h"
#include "platform/unavailable_platform.h"
#include "session/session.h"
#include "session/start_state.h"
#include "settings/ini_settings.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

namespace tintavo {

namespace {

template <typename T> T *orOwn(T *given, std::unique_ptr<T> &own, auto make)
{
    if (given)
        return given;
    own = make();
    return own.get();
}

} // namespace

MainWindow::MainWindow(Session &session, const MainWindowServices &services, QWidget *parent)
    : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("Form1"));
    resize(twipsToPixels(kDesignClientWidth), twipsToPixels(kDesignClientHeight));
    useServices(services);

    BuiltControls<MainControls> built = buildMainControls(this);
    m_controls = built.controls;
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar *bar : {m_hScroll, m_vScroll})
        connect(bar, &QScrollBar::valueChanged, this, &MainWindow::layOutControls);
    // Tab, or an access key, brings the control it reaches into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && isAncestorOf(now))
            scrollToShow(now);
    });
    connect(&m_session, &Session::saveFailed, this, &MainWindow::reportSaveFailure);
    m_pictureOpening = new PictureOpening(
        this, *m_messages, [this](const LoadedPicture &picture) { openPicture(picture); },
        services.picturePath);
    buildColorViews();
    buildColorBoxViews(services.fileDialogs);
    connectButton(m_controls.chooseForeground, &MainWindow::chooseForegroundColor);
    connectButton(m_controls.chooseBackground, &MainWindow::chooseBackgroundColor);
    connectButton(m_controls.randomFill, &MainWindow::fillColorBoxAtRandom);
    connectButton(m_controls.pick, &MainWindow::openPicker);
    connectButton(m_controls.settings, &MainWindow::openSettings);
    connectButton(m_controls.about, &MainWindow::openAbout);

    // The swatch view joined after the table was built: the focus chain
    // takes it in at its place.
    built.tabStops.push_back({kColorBoxTabIndex, m_swatchView});
    chainFocus(std::move(built.tabStops));
}

MainWindow::~MainWindow()
{
    // The program ends with the main window; an open picker goes with it
    // without its unload step.
    delete m_picker.data();
}

void MainWindow::useServices(const MainWindowServices &services)
{
    m_messages = orOwn(services.messages, m_ownMessages,
                       [this] { return std::make_unique<MessageBoxService>(this); });
    m_colorChooser = orOwn(services.colorChooser, m_ownColorChooser,
                           [this] { return std::make_unique<QtColorChooser>(this); });
    m_questions = orOwn(services.questions, m_ownQuestions,
                        [this] { return std::make_unique<QuestionBox>(this); });
    m_sampler = services.sampler;
    m_hotKey = services.hotKey;
    m_desktopPicking = services.desktopPicking;
    m_frameGrabber = services.frameGrabber;
    m_makeHotKey = services.makeHotKey;
    if (!m_makeHotKey && !services.hotKey)
        m_makeHotKey = [] { return createGlobalHotKey(); };
    m_makeScreenChangeWatch = services.makeScreenChangeWatch;
    m_makeGrab = services.makeGrab ? services.makeGrab : [] { return createPointerGrab(); };
    if (!m_makeScreenChangeWatch && !services.sampler)
        m_makeScreenChangeWatch = [] { return createScreenChangeWatch(); };
    m_endProgram = services.endProgram ? services.endProgram : [] { QCoreApplication::quit(); };
}

void MainWindow::buildColorViews()
{
    ColorPair &pair = m_session.pair();
    SettingsStore &settings = m_session.settings();
    m_colorEditing = new ColorEditing(m_controls.editors, pair, *m_messages, this);
    // The control table makes every multi-line box one that can keep a band free.
    m_inspector = new PreviewInspector(
        static_cast<MultiLineTextBox *>(m_controls.editors.preview), pair, true,
        {[&settings](bool show) { settings.change(&Settings::showContrast, show); },
         {m_pictureOpening->action()}});
    connect(&settings, &SettingsStore::changed, m_inspector,
            [this, &settings] { m_inspector->setShowContrast(settings.settings().showContrast); });
    connect(&pair, &ColorPair::changed, this, &MainWindow::showPair);
    connect(m_inspector, &PreviewInspector::visionModeChanged, this, &MainWindow::showPair);
    showPair();
    addCopyAsCommands(
        m_controls.editors.codeLine, this, pair, [this] { return m_session.copyFormats(); },
        new ColorPaste(this, m_controls.editors, pair, *m_messages));
}

void MainWindow::buildColorBoxViews(const ColorBoxTransfer::FileDialogs &fileDialogs)
{
    ColorBoxModel &box = m_session.colorBox();
    SettingsStore &settings = m_session.settings();
    m_swatchView = new SwatchView(&box, m_controls.colorBoxFrame);
    m_swatchMenu = buildSwatchMenu(this);
    connect(m_swatchView, &SwatchView::swatchPressed, this, &MainWindow::openSwatchMenu);
    const ColorBoxTransfer::LastFolder paletteFolder{
        [&settings] { return settings.settings().paletteFolder; },
        [&settings](const QString &folder) { settings.change(&Settings::paletteFolder, folder); }};
    (new ColorBoxTransfer(this, box, *m_swatchView, *m_messages, *m_questions, fileDialogs,
                          paletteFolder))
        ->addMenuItems(m_swatchMenu.menu);
    (new SwatchPalettes(box, *m_messages, *m_questions, this))->addMenuItems(m_swatchMenu.menu);
    m_swatchMenu.menu->addSeparator();
    m_swatchMenu.menu->addAction(m_pictureOpening->action());
    const auto command = [this](QAction *action, void (MainWindow::*run)(PairRole), PairRole role) {
        connect(action, &QAction::triggered, this, [this, run, role] { (this->*run)(role); });
    };
    command(m_swatchMenu.loadBackground, &MainWindow::loadSwatchInto, PairRole::Background);
    command(m_swatchMenu.loadForeground, &MainWindow::loadSwatchInto, PairRole::Foreground);
    command(m_swatchMenu.saveBackground, &MainWindow::saveIntoSwatch, PairRole::Background);
    command(m_swatchMenu.saveForeground, &MainWindow::saveIntoSwatch, PairRole::Foreground);
    connect(m_swatchMenu.undo, &QAction::triggered, &box, &ColorBoxModel::undo);
    connect(m_swatchMenu.redo, &QAction::triggered, &box, &ColorBoxModel::redo);
    connect(&box, &ColorBoxModel::historyChanged, this, [this, &box] {
        m_swatchMenu.undo->setEnabled(box.canUndo());
        m_swatchMenu.redo->setEnabled(box.canRedo());
        const auto named = [](const QString &command, const QString &step) {
            return step.isEmpty() ? command : command + u' ' + step;
        };
        m_swatchMenu.undo->setText(named(QStringLiteral("撤销"), box.undoName()));
        m_swatchMenu.redo->setText(named(QStringLiteral("重做"), box.redoName()));
    });
}

void MainWindow::connectButton(QPushButton *button, void (MainWindow::*handler)())
{
    connect(button, &QPushButton::clicked, this, handler);
}

void MainWindow::start(const std::function<StartState()> &takeStartState)
{
    loadContents();
    show();

    StartState state = takeStartState();
    const QStringList restored = state.restoredFiles;
    m_session.load(std::move(state));
    // Over the window as loaded: the box's own event loop draws it.
    if (!restored.isEmpty()) {
        m_messages->showError(
            QStringLiteral("上次保存设置时程序意外中止，已用恢复副本修复设置文件：%1")
                .arg(restored.join(QStringLiteral("、"))));
    }
}

void MainWindow::loadContents()
{
    setWindowTitle(QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！"));
    m_controls.editors.previewFrame->setTitle(windowTitle() + QStringLiteral("::效果预览::"));

    QFont bold = m_controls.editors.codeLine->font();
    bold.setBold(true);
    m_controls.editors.codeLine->setFont(bold);

    QPlainTextEdit *effectText = m_controls.editors.preview;
    effectText->setPlainText(helpText());
    effectText->setTabChangesFocus(true); // Tab moves on, as from every other control
    effectText->setFocus();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveOnExit();
    event->accept();
    m_endProgram();
}

void MainWindow::saveOnExit()
{
    for (SaveResult saved = m_session.saveAll(); !saved; saved = m_session.saveAll()) {
        printSaveFailure(saved);
        if (!m_questions->askRetry(QStringLiteral("Tintavo"), saved.message()))
            return;
    }
}

void MainWindow::saveForSessionEnd()
{
    if (const SaveResult saved = m_session.saveAll(); !saved) {
        printSaveFailure(saved);
        m_messages->showError(saved.message());
    }
}

void MainWindow::openSwatchMenu(int index, const QPoint &globalPos)
{
    m_session.colorBox().selectSwatch(index);
    // After a command the keyboard is in the colour box, so that Ctrl+Z
    // takes the command back, not the typing in a text box before it.
    if (m_swatchMenu.menu->exec(globalPos))
        m_swatchView->setFocus(Qt::OtherFocusReason);
}

void MainWindow::loadSwatchInto(PairRole role)
{
    const ColorBoxModel &box = m_session.colorBox();
    if (box.contains(box.selectedSwatch()))
        m_session.pair().setColor(role, box.color(box.selectedSwatch()));
}

void MainWindow::saveIntoSwatch(PairRole role)
{
    ColorBoxModel &box = m_session.colorBox();
    const QAction *command =
        role == PairRole::Background ? m_swatchMenu.saveBackground : m_swatchMenu.saveForeground;
    box.setColor(box.selectedSwatch(), m_session.pair().color(role), command->text());
}

void MainWindow::showPair()
{
    // A colour-vision simulation changes what the preview draws, never the pair.
    const VisionMode mode = m_inspector->visionMode();
    const ColorPair &pair = m_session.pair();
    showTextColors(m_controls.editors.preview, simulateVision(pair.foreground(), mode),
                   simulateVision(pair.background(), mode));
}

void MainWindow::chooseForegroundColor()
{
    m_colorEditing->chooseColor(PairRole::Foreground, *m_colorChooser);
}

void MainWindow::chooseBackgroundColor()
{
    m_colorEditing->chooseColor(PairRole::Background, *m_colorChooser);
}

void MainWindow::fillColorBoxAtRandom()
{
    const QString question = QStringLiteral("注意：这个操作将会覆盖掉您此前存储的颜色！\n"
                                            "您确信要进行此操作？");
    if (!m_questions->askYesNo(QStringLiteral("Tintavo"), question))
        return;
    fillAtRandom(m_session.colorBox());
}

void MainWindow::reportSaveFailure(const QString &message)
{
    // A box opened now would sit under the frozen frame, out of reach of
    // the pointer and keyboard the frame holds: it waits for the frame.
    if (m_picker && m_picker->holdsScreen()) {
        if (!m_heldFailures.contains(message))
            m_heldFailures.append(message);
        return;
    }
    m_messages->showError(message);
}

PickerWindow *MainWindow::picker() const
{
    return m_picker;
}

void MainWindow::openPicker()
{
    if (!m_picker) {
        // The desktop services are made on first use and kept for the run.
        if (!m_sampler && !m_desktopPicking)
            m_sampler = (m_ownSampler = createScreenSampler()).get();
        if (!m_hotKey && !m_desktopPicking)
            m_hotKey = (m_ownHotKey = createGlobalHotKey()).get();
        if (m_desktopPicking) {
            // The session's compositor keeps the screen and the keyboard to
            // itself, whatever the toolkit talks to: nothing X11 is touched.
            if (!m_ownSampler)
                m_ownSampler = std::make_unique<UnavailableScreenSampler>();
            if (!m_ownHotKey)
                m_ownHotKey = std::make_unique<UnavailableGlobalHotKey>();
        }
        const bool portal = bool(m_desktopPicking);
        // A region of the frozen screen can become the background colour.
        m_picker =
            createPicker(m_session.colorBox(), portal ? *m_ownSampler : *m_sampler,
                         portal ? *m_ownHotKey : *m_hotKey, portal ? m_desktopPicking() : nullptr,
                         {.picking = pickSettings(m_session.settings().settings()),
                          .makeHotKey = m_makeHotKey,
                          .makeGrab = m_makeGrab,
                          .makeScreenChangeWatch = m_makeScreenChangeWatch,
                          .makeFrameGrabber = m_frameGrabber,
                          .pair = &m_session.pair(),
                          .questions = m_questions})
                .release();
        connect(m_picker, &PickerWindow::sampleSizeChosen, this,
                [this](int size) { m_session.settings().change(&Settings::sampleSize, size); });
        connect(m_picker, &PickerWindow::frameClosed, this, [this] {
            // Not from within the click or key that ended the frame.
            QTimer::singleShot(0, this, [this] {
                for (const QString &message : std::exchange(m_heldFailures, {}))
                    reportSaveFailure(message);
            });
        });
        connect(m_picker, &PickerWindow::loupeCellsChosen, this,
                [this](int cells) { m_session.settings().change(&Settings::loupeCells, cells); });
        connect(m_picker, &PickerWindow::loupeChosen, this,
                [this](bool on) { m_session.settings().change(&Settings::loupe, on); });
        connect(m_picker, &PickerWindow::colorManagementChosen, this,
                [this](bool on) { m_session.settings().change(&Settings::colorManaged, on); });
        connect(m_picker, &PickerWindow::closed, this, [this] {
            show();
            setWindowState(Qt::WindowMaximized);
        });
    }
    m_picker->show();
    m_picker->raise();
    m_picker->activateWindow();
    setWindowState(Qt::WindowMinimized);
}

void MainWindow::openPicture(const LoadedPicture &picture)
{
    // Taken before the window goes down for the picker.
    QScreen *monitor = screen();
    openPicker();
    m_picker->openPicture(picture, monitor);
}

void MainWindow::comeForward()
{
    QWidget *front = m_picker ? static_cast<QWidget *>(m_picker) : this;
    front->setWindowState(front->windowState() & ~Qt::WindowMinimized);
    front->show();
    front->raise();
    front->activateWindow();
}

void MainWindow::captureColor()
{
    // Where the desktop hands out picks, a capture is a pick on a fresh frame,
    // made in the picker.
    if (m_desktopPicking && !m_picker)
        openPicker();
    if (m_picker) {
        m_picker->capture();
        return;
    }
    // The pixel under the pointer, as the picker's key stores it.
    if (!m_sampler)
        m_sampler = (m_ownSampler = createScreenSampler()).get();
    if (const std::optional<Rgb> color = m_sampler->pixelColor(m_sampler->pointerPosition()))
        m_session.colorBox().storeCapture(*color);
}

void MainWindow::freezeScreen()
{
    openPicker();
    m_picker->toggleFreeze();
}

void MainWindow::openSettings()
{
    SettingsDialog::showSingle(m_settingsDialog, m_session.settings(), this);
}

void MainWindow::openAbout()
{
    AboutDialog::showSingle(m_aboutDialog, this);
}

} // namespace tintavo
