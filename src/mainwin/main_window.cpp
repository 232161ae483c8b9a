#include "mainwin/main_window.h"

#include "about/about_dialog.h"
#include "color/color_editing.h"
#include "color/color_paste.h"
#include "color/copy_as_menu.h"
#include "color/preview_inspector.h"
#include "color/qt_color_chooser.h"
#include "color/text_colors.h"
#include "colorbox/color_box_model.h"
#include "colorbox/swatch_grid.h"
#include "colorbox/swatch_palettes.h"
#include "colorbox/swatch_view.h"
#include "common/app_icon.h"
#include "common/text_box.h"
#include "desktop/message_boxes.h"
#include "mainwin/help_text.h"
#include "mainwin/random_fill.h"
#include "mainwin/start_state.h"
#include "picker/picker_window.h"
#include "platform/desktop_picking.h"
#include "platform/global_hotkey.h"
#include "platform/screen_sampler.h"
#include "platform/unavailable_platform.h"
#include "settings/color_box_store.h"
#include "settings/ini_settings.h"
#include "settings/save_queue.h"
#include "settings/settings_dialog.h"
#include "settings/settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace tintavo {

namespace {

// The settings file keeps the colour box in its packed form.
std::vector<ColorValue> packed(const std::vector<Rgb> &colors)
{
    std::vector<ColorValue> out(colors.size());
    std::transform(colors.begin(), colors.end(), out.begin(), toColorValue);
    return out;
}

template <typename T> T *orOwn(T *given, std::unique_ptr<T> &own, auto make)
{
    if (given)
        return given;
    own = make();
    return own.get();
}

} // namespace

MainWindow::MainWindow(const MainWindowServices &services, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(appIcon());
    resize(twipsToPixels(kDesignClientWidth), twipsToPixels(kDesignClientHeight));

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
    m_endProgram = services.endProgram ? services.endProgram : [] { QCoreApplication::quit(); };

    m_editors = buildColorEditingControls(this);
    m_commands = buildMainWindowControls(this);
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar *bar : {m_hScroll, m_vScroll})
        connect(bar, &QScrollBar::valueChanged, this, &MainWindow::layOutControls);
    // Tab, or an access key, brings the control it reaches into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && isAncestorOf(now))
            scrollToShow(now);
    });
    m_pair = new ColorPair(this);
    connect(m_pair, &ColorPair::changed, this, &MainWindow::showPair);
    showPair();
    m_colorEditing = new ColorEditing(m_editors, *m_pair, *m_messages, this);
    m_saves = new SaveQueue(this);
    m_settings = new SettingsStore(*m_saves, this);
    connect(m_settings, &SettingsStore::saveFailed, this,
            [this](const QString &message) { m_messages->showError(message); });
    // The control table makes every multi-line box one that can keep a band free.
    m_inspector = new PreviewInspector(static_cast<MultiLineTextBox *>(m_editors.preview), *m_pair,
                                       true, {[this](bool show) {
                                           Settings next = m_settings->settings();
                                           next.showContrast = show;
                                           m_settings->change(next, SettingsKeys::ShowContrast);
                                       }});
    connect(m_settings, &SettingsStore::changed, m_inspector,
            [this] { m_inspector->setShowContrast(m_settings->settings().showContrast); });
    connect(m_inspector, &PreviewInspector::visionModeChanged, this, &MainWindow::showPair);
    addCopyAsCommands(
        m_editors.codeLine, this, *m_pair, [this] { return m_copyFormats; },
        new ColorPaste(this, m_editors, *m_pair, *m_messages));

    m_colorBox = new ColorBoxModel(this);
    m_store = new ColorBoxStore({[this] { return packed(m_colorBox->colors()); },
                                 [this] { return m_colorBox->nextCaptureSlot; },
                                 [this] { return m_settings->settings().autoSave; }},
                                *m_saves, this);
    connect(m_colorBox, &ColorBoxModel::colorChanged, m_store, &ColorBoxStore::markChanged);
    connect(m_colorBox, &ColorBoxModel::colorsChanged, m_store, &ColorBoxStore::markAllChanged);
    connect(m_store, &ColorBoxStore::promptSaveFailed, this,
            [this](const QString &message) { m_messages->showError(message); });
    m_swatchView = new SwatchView(m_colorBox, m_commands.colorBoxFrame);
    m_swatchMenu = buildSwatchMenu(this);
    connect(m_swatchView, &SwatchView::swatchPressed, this, &MainWindow::openSwatchMenu);
    const ColorBoxTransfer::LastFolder paletteFolder{
        [this] { return m_settings->settings().paletteFolder; },
        [this](const QString &folder) {
            Settings next = m_settings->settings();
            next.paletteFolder = folder;
            m_settings->change(next, SettingsKeys::PaletteFolder);
        }};
    (new ColorBoxTransfer(this, *m_colorBox, *m_swatchView, *m_messages, *m_questions,
                          services.fileDialogs, paletteFolder))
        ->addMenuItems(m_swatchMenu.menu);
    (new SwatchPalettes(*m_colorBox, *m_messages, *m_questions, this))
        ->addMenuItems(m_swatchMenu.menu);
    const auto command = [this](QAction *action, void (MainWindow::*run)(PairRole), PairRole role) {
        connect(action, &QAction::triggered, this, [this, run, role] { (this->*run)(role); });
    };
    command(m_swatchMenu.loadBackground, &MainWindow::loadSwatchInto, PairRole::Background);
    command(m_swatchMenu.loadForeground, &MainWindow::loadSwatchInto, PairRole::Foreground);
    command(m_swatchMenu.saveBackground, &MainWindow::saveIntoSwatch, PairRole::Background);
    command(m_swatchMenu.saveForeground, &MainWindow::saveIntoSwatch, PairRole::Foreground);
    connect(m_swatchMenu.undo, &QAction::triggered, m_colorBox, &ColorBoxModel::undo);
    connect(m_swatchMenu.redo, &QAction::triggered, m_colorBox, &ColorBoxModel::redo);
    connect(m_colorBox, &ColorBoxModel::historyChanged, this, [this] {
        m_swatchMenu.undo->setEnabled(m_colorBox->canUndo());
        m_swatchMenu.redo->setEnabled(m_colorBox->canRedo());
    });

    connectButton(m_commands.chooseForeground, &MainWindow::chooseForegroundColor);
    connectButton(m_commands.chooseBackground, &MainWindow::chooseBackgroundColor);
    connectButton(m_commands.randomFill, &MainWindow::fillColorBoxAtRandom);
    connectButton(m_commands.pick, &MainWindow::openPicker);
    connectButton(m_commands.settings, &MainWindow::openSettings);
    connectButton(m_commands.about, &MainWindow::openAbout);

    // The swatch view joined after the tables were built; chain the focus
    // through every control by its tab index once more.
    QList<QWidget *> focusable;
    for (QWidget *w : findChildren<QWidget *>()) {
        if (w->property("tabIndex").isValid() && w->property("tabIndex").toInt() >= 0)
            focusable << w;
    }
    applyTabOrder(focusable);
}

MainWindow::~MainWindow()
{
    // The program ends with the main window; an open picker goes with it
    // without its unload step.
    delete m_picker.data();
}

void MainWindow::connectButton(QPushButton *button, void (MainWindow::*handler)())
{
    connect(button, &QPushButton::clicked, this, handler);
}

void MainWindow::start()
{
    start(readStartState(GetIniPath()));
}

void MainWindow::start(StartState state)
{
    hide();
    loadContents();

    if (!state.restoredFiles.isEmpty()) {
        m_messages->showError(
            QStringLiteral("上次保存设置时程序意外中止，已用恢复副本修复设置文件：%1")
                .arg(state.restoredFiles.join(QStringLiteral("、"))));
    }

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
    show();

    m_colorBox->setNextCaptureSlot(
        startCaptureSlot(m_colorBox->colors(), settings.rememberStartSlot, settings.startSlot));
    m_store->setLoaded(packed(m_colorBox->colors()));
}

void MainWindow::loadContents()
{
    setWindowTitle(QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！"));
    m_editors.previewFrame->setTitle(windowTitle() + QStringLiteral("::效果预览::"));

    QFont bold = m_editors.codeLine->font();
    bold.setBold(true);
    m_editors.codeLine->setFont(bold);

    QPlainTextEdit *effectText = m_editors.preview;
    effectText->setPlainText(helpText());
    effectText->setTabChangesFocus(true); // Tab moves on, as from every other control
    effectText->setFocus();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOutControls();
}

void MainWindow::layOutControls()
{
    // The client area, not the outer frame, drives the rule, so the layout is
    // the same whatever borders a window manager draws, or none. Where it is
    // smaller than the controls need (a small screen), they keep that size
    // and scroll.
    const QSize least(twipsToPixels(kLeastClientWidth), twipsToPixels(kLeastClientHeight));
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    bool wide = width() < least.width(), tall = height() < least.height();
    wide = wide || (tall && width() - bar < least.width());
    tall = tall || (wide && height() - bar < least.height());
    const QSize view(width() - (tall ? bar : 0), height() - (wide ? bar : 0));
    const QSize content = view.expandedTo(least);
    m_hScroll->setGeometry(0, view.height(), view.width(), bar);
    m_vScroll->setGeometry(view.width(), 0, bar, view.height());
    for (const auto &[scroll, shown, extra, page] :
         {std::tuple{m_hScroll, wide, content.width() - view.width(), view.width()},
          std::tuple{m_vScroll, tall, content.height() - view.height(), view.height()}}) {
        scroll->setRange(0, extra);
        scroll->setPageStep(page);
        scroll->setSingleStep(20);
        scroll->setVisible(shown);
        scroll->raise();
    }
    const QPoint offset(-m_hScroll->value(), -m_vScroll->value());
    const ResizeResult r = tintavo::resizedLayout(pixelsToTwips(content.width()),
                                                  pixelsToTwips(content.height()), m_layout);
    m_layout = r.layout;
    m_editors.previewFrame->setGeometry(toPixels(m_layout.Frame1).translated(offset));
    m_editors.preview->setGeometry(toPixels(m_layout.effect_text));
    m_editors.foregroundFrame->setGeometry(toPixels(m_layout.fg_frame).translated(offset));
    m_editors.backgroundFrame->setGeometry(toPixels(m_layout.bg_frame).translated(offset));
    m_commands.commandFrame->setGeometry(toPixels(m_layout.Frame4).translated(offset));
    m_commands.colorBoxFrame->setGeometry(toPixels(m_layout.Frame3).translated(offset));
    m_editors.codeLine->setGeometry(toPixels(m_layout.txtColorInfo));
    m_swatchView->arrange(swatchColumns(r.colorBoxWidth));
}

void MainWindow::scrollToShow(const QWidget *control)
{
    const QRect at(control->mapTo(this, QPoint()), control->size());
    // Its far edge into view, then its near one, which wins where it is larger.
    const auto follow = [](QScrollBar *scroll, int from, int to, int view) {
        const int shift = from - std::max(0, to - view) < 0 ? from : std::max(0, to - view);
        scroll->setValue(scroll->value() + shift);
    };
    follow(m_hScroll, at.left(), at.right() + 1, m_hScroll->width());
    follow(m_vScroll, at.top(), at.bottom() + 1, m_vScroll->height());
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        keepOnScreen();
}

void MainWindow::keepOnScreen()
{
    // The picker minimises and maximises this window over and over; a window
    // manager that animates minimising moves the frame below the screen while
    // it does, and a restore caught in between may keep that place. A window
    // back in its normal state is brought onto the screen it is nearest.
    const QRect frame = frameGeometry();
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool seen = std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen *s) {
        const QRect shown = s->availableGeometry() & frame;
        return shown.width() >= 100 && shown.height() >= 50;
    });
    if (seen || screens.isEmpty())
        return;
    const QScreen *nearest = QGuiApplication::screenAt(frame.center());
    if (!nearest)
        nearest = QGuiApplication::primaryScreen();
    const QRect area = nearest->availableGeometry();
    move(std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() - frame.width())),
         std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveOnExit();
    event->accept();
    m_endProgram();
}

SaveResult MainWindow::saveAll()
{
    // Settings whose save failed during the run get their last chance here.
    const SaveResult settings = m_settings->saveUnsaved();
    if (!settings || !m_settings->settings().autoSave)
        return settings;
    return m_store->save();
}

void MainWindow::saveOnExit()
{
    for (SaveResult saved = saveAll(); !saved; saved = saveAll()) {
        ColorBoxStore::printFailure(saved);
        if (!m_questions->askRetry(QStringLiteral("Tintavo"), saved.message()))
            return;
    }
}

void MainWindow::saveForSessionEnd()
{
    if (const SaveResult saved = saveAll(); !saved) {
        ColorBoxStore::printFailure(saved);
        m_messages->showError(saved.message());
    }
}

void MainWindow::openSwatchMenu(int index, const QPoint &globalPos)
{
    m_colorBox->selectSwatch(index);
    m_swatchMenu.menu->exec(globalPos);
}

void MainWindow::loadSwatchInto(PairRole role)
{
    if (!m_colorBox->contains(m_colorBox->selectedSwatch))
        return;
    m_pair->setColor(role, m_colorBox->color(m_colorBox->selectedSwatch));
}

void MainWindow::saveIntoSwatch(PairRole role)
{
    m_colorBox->setColor(m_colorBox->selectedSwatch, m_pair->color(role));
}

void MainWindow::showPair()
{
    // A colour-vision simulation changes what the preview draws, never the pair.
    const VisionMode mode = m_inspector ? m_inspector->visionMode() : VisionMode::Normal;
    showTextColors(m_editors.preview, simulateVision(m_pair->foreground(), mode),
                   simulateVision(m_pair->background(), mode));
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
    RandomFill(*m_colorBox);
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
            const Settings &settings = m_settings->settings();
            m_picker =
                new PickerWindow(*m_colorBox, *m_ownSampler, *m_ownHotKey, m_desktopPicking(),
                                 {settings.loupe,
                                  settings.sampleSize,
                                  {},
                                  settings.colorManaged,
                                  {},
                                  m_frameGrabber});
        } else {
            const Settings &settings = m_settings->settings();
            m_picker = new PickerWindow(*m_colorBox, *m_sampler, *m_hotKey, {},
                                        {settings.loupe, settings.sampleSize, m_makeHotKey,
                                         settings.colorManaged, &createPointerGrab});
        }
        connect(m_picker, &PickerWindow::sampleSizeChosen, this, [this](int size) {
            Settings next = m_settings->settings();
            next.sampleSize = size;
            m_settings->change(next, SettingsKeys::SampleSize);
        });
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

void MainWindow::openSettings()
{
    SettingsDialog::showSingle(m_settingsDialog, *m_settings, this);
}

void MainWindow::openAbout()
{
    AboutDialog::showSingle(m_aboutDialog, this);
}

} // namespace tintavo
