#pragma once

#include "color/color_chooser.h"
#include "colorbox/swatch_view.h"
#include "common/app_look.h"
#include "fake_message_service.h"
#include "mainwin/main_window.h"
#include "platform/global_hotkey.h"
#include "platform/pointer_grab.h"
#include "platform/screen_change_watch.h"
#include "platform/screen_sampler.h"
#include "session/session.h"
#include "session/start_state.h"
#include "settings/ini_settings.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace tintavo::test {

// The child of `parent` named `name`; the test stops when there is none.
template <typename T = QLineEdit> T *child(const QObject *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// Does `open`, which brings up a message box, hands the box to `seen` and closes it.
inline void answerBox(const std::function<void()> &open,
                      const std::function<void(QMessageBox *)> &seen)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll.stop();
            seen(box);
            box->reject();
        }
    });
    poll.start(10);
    open();
    QTRY_VERIFY(!poll.isActive());
}

// The names of the controls Tab visits from `from` until it is back there.
inline QString tabChain(QWidget *from)
{
    from->setFocus();
    QStringList chain{from->objectName()};
    do
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    while ((chain << QApplication::focusWidget()->objectName()).size() < 40 &&
           QApplication::focusWidget() != from);
    return chain.join(u' ');
}

// Whether a link shows lit: underlined in pure blue, a run of blue pixels
// longer than half its text (glyph strokes are short).
inline bool linkLit(QLabel *link)
{
    const QImage image = link->grab().toImage();
    int longest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0, run = 0; x < image.width(); ++x)
            longest = std::max(longest, run = image.pixel(x, y) == qRgb(0, 0, 255) ? run + 1 : 0);
    return longest > link->fontMetrics().horizontalAdvance(link->text()) / 2;
}

// The colour that covers most of `image`: a text box's background.
inline QColor dominantColor(const QImage &image)
{
    QHash<QRgb, int> counts;
    QRgb best = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb c = image.pixel(x, y) | 0xFF000000u; ++counts[c] > counts.value(best))
                best = c;
    return QColor::fromRgb(best);
}

// Whether some pixel (for text: a glyph's stroke) shows `color`, give or take 8.
inline bool showsColor(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor c = image.pixelColor(x, y);
                std::max({qAbs(c.red() - color.red()), qAbs(c.green() - color.green()),
                          qAbs(c.blue() - color.blue())}) <= 8)
                return true;
    return false;
}

// Answers the colour dialog with `answer`, and nothing (cancel) when unset.
struct FakeColorChooser : ColorChooser
{
    bool choose() override
    {
        asked = true;
        color = answer.value_or(color);
        return answer.has_value();
    }
    Rgb chosenColor() const override { return color; }

    std::optional<Rgb> answer;
    Rgb color;
    bool asked = false;
};

// Records the questions; answers Yes/No with `answer`, and retries `retries` times.
struct FakeQuestionService : QuestionService
{
    bool askYesNo(const QString &title, const QString &text) override
    {
        asked << title + u'|' + text;
        return answer;
    }
    bool askRetry(const QString &title, const QString &text) override
    {
        askYesNo(title, text);
        return retries-- > 0;
    }
    int askChoice(const QString &title, const QString &text, const QStringList &choices) override
    {
        asked << title + u'|' + text + u'|' + choices.join(u'/');
        return choice.value_or(int(choices.size()) - 1);
    }

    bool answer = false;
    std::optional<int> choice; // none: the last, as Escape answers
    int retries = 0;
    QStringList asked;
};

// A screen of scripted answers: the pointer rests at `pointer`, `pixels` are
// readable, and the pointer moves where the program asks.
struct FakeScreenSampler : ScreenSampler
{
    bool available() const override { return isAvailable; }
    QPoint pointerPosition() override { return pointer; }
    bool canMovePointer() const override { return isAvailable; }
    bool movePointer(QPoint to) override
    {
        pointer = to;
        return isAvailable;
    }
    std::optional<Rgb> pixelColor(QPoint at) override
    {
        return pixels.contains(at) ? std::optional(pixels.value(at)) : std::nullopt;
    }
    // With `freezable`, a small desktop: `pixels` on black.
    ScreenFrame grabFrame() override
    {
        if (!freezable)
            return {};
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::black);
        for (auto it = pixels.cbegin(); it != pixels.cend(); ++it) {
            if (image.rect().contains(it.key()))
                image.setPixel(it.key(), qRgb(it.value().red, it.value().green, it.value().blue));
        }
        return {image.size(), image.bytesPerLine(),
                std::shared_ptr<const uchar>(image.constBits(), [image](const uchar *) {})};
    }
    QList<QByteArray> monitorProfiles() override { return profiles; }

    bool isAvailable = true;
    bool freezable = false;
    QPoint pointer;
    QHash<QPoint, Rgb> pixels;
    QList<QByteArray> profiles; // the monitor's, where it publishes one
};

// Changes on the screen are reported when a test says so.
struct FakeScreenChangeWatch : ScreenChangeWatch
{
    explicit FakeScreenChangeWatch(bool watches) : watches(watches) {}
    bool watching() const override { return watches; }
    void report(const QRect &area) { emit changed(area); }
    bool watches;
};

// The pointer and the keyboard, had for the asking.
struct FakePointerGrab : PointerGrab
{
    GrabResult grab() override { return GrabResult::Grabbed; }
    void release() override {}
};

// Answers registrations with `answer`; press() is the user pressing the held key.
struct FakeGlobalHotKey : GlobalHotKey
{
    HotKeyResult registerKey(QKeyCombination key) override
    {
        held = answer == HotKeyResult::Registered ? std::optional(key) : std::nullopt;
        return answer;
    }
    void unregisterKey() override { held.reset(); }
    bool press()
    {
        if (held)
            emit activated();
        return held.has_value();
    }

    HotKeyResult answer = HotKeyResult::Registered;
    std::optional<QKeyCombination> held;
};

// A started main window in the program's look, over a settings file of its
// own, its message boxes recorded instead of shown unless `realBoxes` is set.
struct MainWindowFixture
{
    FakeMessageService messages;
    FakeColorChooser colorChooser;
    FakeQuestionService questions;
    FakeScreenSampler sampler;
    FakeGlobalHotKey hotKey;
    // The picker's, while one is open; whether the next one reports changes.
    QPointer<FakeScreenChangeWatch> screenWatch;
    bool screenWatched = true;
    HotKeyResult nudgeAnswer = HotKeyResult::Registered; // for Alt+Shift+arrows
    bool realBoxes = false;
    // What the next start() runs while an error it reports is open.
    std::function<void()> whileStartErrorOpen;
    int programEnded = 0;
    // Answers for the colour box's export and import dialogs (none: cancelled).
    ColorBoxTransfer::FileDialogs fileDialogs{[](QString *) { return QString(); },
                                              [] { return QString(); }};
    // The picture 打开图片取色… opens (empty: cancelled).
    QString picturePath;
    std::unique_ptr<QTemporaryDir> settingsDir;
    std::unique_ptr<Session> session;
    std::unique_ptr<MainWindow> form;

    QString iniPath()
    {
        if (!settingsDir)
            settingsDir = std::make_unique<QTemporaryDir>();
        return settingsDir->filePath(QStringLiteral("Tintavo.ini"));
    }

    // A settings file's bytes: the lines with CR LF ends.
    static QByteArray iniText(const QStringList &lines)
    {
        return (lines.join("\r\n") + "\r\n").toLatin1();
    }
    // The settings file the next start() reads.
    void writeIni(const QStringList &lines)
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(iniText(lines)) > 0);
    }

    QByteArray readIni()
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Closes the window as the user does, and reads what the exit left in the file.
    QByteArray savedAtExit()
    {
        form->close();
        form.reset();
        session.reset();
        return readIni();
    }

    void reset()
    {
        form.reset();
        session.reset();
        qDeleteAll(QApplication::topLevelWidgets());
        settingsDir.reset();
    }

    void start()
    {
        setUpApplicationLook(*qApp);
        form.reset(); // before the fakes it may still use
        session = std::make_unique<Session>(iniPath());
        messages = FakeMessageService{};
        messages.whileOpen = std::exchange(whileStartErrorOpen, {});
        colorChooser = FakeColorChooser{};
        questions = FakeQuestionService{};
        sampler = FakeScreenSampler{};
        hotKey.answer = nudgeAnswer = HotKeyResult::Registered;
        screenWatched = true;
        programEnded = 0;
        MainWindowServices services{.messages = realBoxes ? nullptr : &messages,
                                    .colorChooser = &colorChooser,
                                    .questions = realBoxes ? nullptr : &questions,
                                    .sampler = &sampler,
                                    .hotKey = &hotKey,
                                    .endProgram = [this] { ++programEnded; },
                                    .fileDialogs = fileDialogs,
                                    .makeHotKey =
                                        [this] {
                                            auto key = std::make_unique<FakeGlobalHotKey>();
                                            key->answer = nudgeAnswer;
                                            return key;
                                        },
                                    .makeScreenChangeWatch =
                                        [this] {
                                            auto watch = std::make_unique<FakeScreenChangeWatch>(
                                                screenWatched);
                                            screenWatch = watch.get();
                                            return watch;
                                        },
                                    .makeGrab = [] { return std::make_unique<FakePointerGrab>(); },
                                    .picturePath = [this] { return picturePath; }};
        form = std::make_unique<MainWindow>(*session, services);
        form->start([this] { return readStartState(session->settingsPath()); });
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename T = QLineEdit> T *control(const QString &name) const
    {
        return child<T>(form.get(), name);
    }

    // Clicks into a box, as a user does, and types over its whole text.
    void typeOver(const QString &name, const QString &text) const
    {
        QLineEdit *box = control(name);
        form->activateWindow(); // as the click would
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(3, box->height() / 2));
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }

    void press(const QString &button) const
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    // Presses the colour box at `at` and chooses the item named `item` (none:
    // Esc) in the menu that opens; returns "objectName|text|shortcut" of each.
    QStringList pressAt(QPoint at, const QString &item = {},
                        Qt::MouseButton button = Qt::RightButton) const
    {
        QStringList offered;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                poll.stop();
                for (QAction *a : menu->actions()) {
                    offered << a->objectName() + u'|' + a->text() + u'|' + a->shortcut().toString();
                    if (a->objectName() == item)
                        menu->setActiveAction(a);
                }
                QTest::keyClick(menu, item.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
            }
        });
        poll.start(10);
        QTest::mouseClick(control<QWidget>("Picture1"), button, {}, at);
        return offered;
    }

    QStringList pressSwatch(int index, const QString &item = {},
                            Qt::MouseButton button = Qt::RightButton) const
    {
        return pressAt(control<SwatchView>("Picture1")->swatchRect(index).center(), item, button);
    }

    // What `w` showed when last painted: a change never repainted is missing.
    QImage onScreen(QWidget *w) const
    {
        QCoreApplication::processEvents();
        const QRect at(w->mapTo(form.get(), QPoint(0, 0)), w->size());
        return form->screen()
            ->grabWindow(form->winId(), at.x(), at.y(), at.width(), at.height())
            .toImage();
    }

    QColor swatchShows(int index) const
    {
        auto *view = control<SwatchView>("Picture1");
        return onScreen(view).pixelColor(view->swatchRect(index).center());
    }
};

} // namespace tintavo::test
