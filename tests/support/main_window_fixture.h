#pragma once

#include "color/color_editing.h"
#include "fake_color_chooser.h"
#include "fake_global_hotkey.h"
#include "fake_message_service.h"
#include "fake_question_service.h"
#include "fake_screen_sampler.h"
#include "mainwin/main_window.h"
#include "settings/ini_settings.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace tintavo::test {

// A started main window on the current (offscreen) platform, with its error
// messages recorded instead of shown.
struct MainWindowFixture
{
    FakeMessageService messages;
    FakeColorChooser colorChooser;
    FakeQuestionService questions;
    std::unique_ptr<FakeScreenSampler> sampler;
    std::unique_ptr<FakeGlobalHotKey> hotKey;
    int programEnded = 0;
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
        form.reset(); // before the fakes it may still use
        prepareSettingsDir();
        messages.shown.clear();
        colorChooser = FakeColorChooser{};
        questions = FakeQuestionService{};
        programEnded = 0;
        sampler = std::make_unique<FakeScreenSampler>();
        hotKey = std::make_unique<FakeGlobalHotKey>();
        form = std::make_unique<MainWindow>(MainWindowServices{&messages, &colorChooser, &questions,
                                                     sampler.get(), hotKey.get(),
                                                     [this] { ++programEnded; }, {}});
        form->Form_Initialize();
        activate(form.get());
    }

    static void activate(QWidget *w)
    {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    template <typename T = QLineEdit> T *control(const char *name) const
    {
        T *w = form->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    // Clicks into a box, as a user does before typing; this gives it the focus.
    void clickInto(const char *name) const
    {
        QLineEdit *box = control(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(3, box->height() / 2));
        QTRY_VERIFY(box->hasFocus());
    }

    // Selects the whole text of a box the way a user does, and types over it.
    void typeOver(const char *name, const QString &text) const
    {
        clickInto(name);
        QLineEdit *box = control(name);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, text);
    }
};

} // namespace tintavo::test
