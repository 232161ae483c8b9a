#pragma once

#include "colorbox/swatch_view.h"
#include "common/app_look.h"
#include "fake_color_chooser.h"
#include "fake_global_hotkey.h"
#include "fake_message_service.h"
#include "fake_question_service.h"
#include "fake_screen_sampler.h"
#include "mainwin/main_window.h"
#include "settings/ini_settings.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace tintavo::test {

// A started main window on the current (offscreen) platform, in the look the
// program gives its users, with its error messages recorded instead of shown.
struct MainWindowFixture
{
    FakeMessageService messages;
    FakeColorChooser colorChooser;
    FakeQuestionService questions;
    std::unique_ptr<FakeScreenSampler> sampler;
    std::unique_ptr<FakeGlobalHotKey> hotKey;
    int programEnded = 0;
    // Answers for the colour box's export and import dialogs (none: cancelled).
    ColorBoxTransfer::FileDialogs fileDialogs{[](QString *) { return QString(); },
                                              [] { return QString(); }};
    std::unique_ptr<MainWindow> form;
    // Each start reads and writes a settings file of its own.
    std::unique_ptr<QTemporaryDir> settingsDir;

    QString iniPath() const { return settingsDir->filePath(QStringLiteral("Tintavo.ini")); }

    // The settings file the next start() reads; CR LF line ends are added.
    void writeIni(const QStringList &lines)
    {
        prepareSettingsDir();
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    }

    QByteArray readIni() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void prepareSettingsDir()
    {
        if (settingsDir)
            return;
        settingsDir = std::make_unique<QTemporaryDir>();
        setIniPathForTesting(iniPath());
    }

    // Forgets the settings file, so the next start begins without one.
    void resetSettings()
    {
        form.reset();
        settingsDir.reset();
        setIniPathForTesting(QString());
    }

    void start()
    {
        setUpApplicationLook(*qApp);
        form.reset(); // before the fakes it may still use
        prepareSettingsDir();
        messages.shown.clear();
        messages.whileShown = nullptr;
        colorChooser = FakeColorChooser{};
        questions = FakeQuestionService{};
        programEnded = 0;
        sampler = std::make_unique<FakeScreenSampler>();
        hotKey = std::make_unique<FakeGlobalHotKey>();
        form = std::make_unique<MainWindow>(
            MainWindowServices{&messages, &colorChooser, &questions, sampler.get(), hotKey.get(),
                               [this] { ++programEnded; }, {}, fileDialogs});
        form->start();
        activate(form.get());
    }

    static void activate(QWidget *w)
    {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    template <typename T = QLineEdit> T *control(const QString &name) const
    {
        T *w = form->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    // Clicks into a box, as a user does before typing; this gives it the focus.
    void clickInto(const QString &name) const
    {
        QLineEdit *box = control(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(3, box->height() / 2));
        QTRY_VERIFY(box->hasFocus());
    }

    // Selects the whole text of a box the way a user does, and types over it.
    void typeOver(const QString &name, const QString &text) const
    {
        clickInto(name);
        QLineEdit *box = control(name);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }

    // Drags a slider's knob to `value`, as a user does with the mouse.
    void dragSlider(const QString &name, int value) const
    {
        auto *slider = control<QSlider>(name);
        slider->setSliderDown(true);
        slider->setSliderPosition(value);
        slider->setSliderDown(false);
    }

    void press(const QString &button) const
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    // Presses swatch `index` with `button` and chooses the menu item named
    // `item` in the popup menu that opens (none: the menu is closed unused).
    // Returns the texts the menu offered.
    QStringList pressSwatch(int index, const QString &item = QString(),
                            Qt::MouseButton button = Qt::RightButton) const
    {
        QStringList offered;
        auto *poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, [&offered, poll, item] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            poll->deleteLater();
            poll->stop();
            for (QAction *a : menu->actions()) {
                offered << (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (a->objectName() == item)
                    menu->setActiveAction(a);
            }
            QTest::keyClick(menu, item.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        });
        poll->start();
        SwatchView *view = form->findChild<SwatchView *>();
        QTest::mouseClick(view, button, {}, view->swatchRect(index).center());
        return offered;
    }

    // What `w` showed on the screen when it was last painted, so a change that
    // was never repainted shows as missing.
    QImage onScreen(QWidget *w) const
    {
        QCoreApplication::processEvents();
        const QPoint at = w->mapTo(form.get(), QPoint(0, 0));
        return form->screen()
            ->grabWindow(form->winId(), at.x(), at.y(), w->width(), w->height())
            .toImage();
    }

    QImage previewImage() const { return onScreen(control<QWidget>("effect_text")); }

    // The colour swatch `index` shows on the screen.
    QColor swatchShows(int index) const
    {
        auto *view = form->findChild<SwatchView *>();
        return onScreen(view).pixelColor(view->swatchRect(index).center());
    }
};

} // namespace tintavo::test
