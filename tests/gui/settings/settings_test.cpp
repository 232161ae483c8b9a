// The settings file through a run of the program: what the start reads from
// it, what the settings dialog shows and saves, what the exit leaves in it.
#include "color/preview_inspector.h"
#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "settings/safe_file.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace tintavo;

class SettingsTest;
// One thing the user does.
using Step = std::function<void(SettingsTest &)>;
using Steps = QList<Step>;
// What swatches show; an invalid colour: the bare frame, no swatch there.
using Swatches = QList<QPair<int, QColor>>;
Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(Swatches)

namespace {

// Another running copy that holds the settings file's lock for `ms`.
struct LockHolder
{
    explicit LockHolder(const QString &path, int ms)
    {
        process.start(QStringLiteral(TINTAVO_SETTINGS_HELPER), {"hold", path, QString::number(ms)});
        started = process.waitForReadyRead(10000);
    }
    ~LockHolder() { process.waitForFinished(10000); }
    QProcess process;
    bool started = false;
};

// The longest the window's event loop went without running a 10 ms timer.
struct LongestGap
{
    LongestGap()
    {
        clock.start();
        QObject::connect(&tick, &QTimer::timeout, [this] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        tick.start(10);
    }
    QElapsedTimer clock;
    QTimer tick;
    qint64 last = 0, longest = 0;
};

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;
    QPointer<QWidget> dlg;

    // The count box and the three check boxes, as a user reads them.
    QString shown() const
    {
        QString text = test::child<QLineEdit>(dlg, "Text1")->text();
        for (const char *name : {"Check1", "Check2", "Check3"})
            text += test::child<QCheckBox>(dlg, name)->isChecked() ? u" on" : u" off";
        return text;
    }

    // The steps of the tables.
    void open()
    {
        f.press("exit_me");
        dlg = f.control<QWidget>("FrmSet");
    }
    static Step openDialog() { return &SettingsTest::open; }
    static Step swatchMenu(int swatch, const char *item)
    {
        return [=](SettingsTest &t) { t.f.pressSwatch(swatch, item); };
    }
    // The swatch menu's key, on swatch 0 before any press.
    static Step ctrlKey(Qt::Key key)
    {
        return [=](SettingsTest &) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
        };
    }
    static Step typeCount(const char *text)
    {
        return [=](SettingsTest &t) { test::child<QLineEdit>(t.dlg, "Text1")->setText(text); };
    }
    static Step click(const char *control)
    {
        return [=](SettingsTest &t) {
            QTest::mouseClick(test::child<QWidget>(t.dlg, control), Qt::LeftButton);
        };
    }
    static Step keyOn(const char *control, Qt::Key key)
    {
        return [=](SettingsTest &t) { QTest::keyClick(test::child<QWidget>(t.dlg, control), key); };
    }
    static Step closeDialog()
    {
        return [](SettingsTest &t) { t.dlg->close(); };
    }
    static Step contrastSwitch()
    {
        return [](SettingsTest &t) {
            std::unique_ptr<QMenu> menu(t.f.form->previewInspector().createContextMenu({}));
            for (QAction *action : menu->actions())
                if (action->text() == u"显示对比度")
                    action->trigger();
        };
    }

private slots:
    void cleanup() { f.reset(); }

    // The file before the start; what the user then does; what swatches
    // show; whether the file holds the change before the exit; what the
    // dialog shows when opened then; and the file the exit leaves.
    void startAndExit_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<Swatches>("swatches");
        QTest::addColumn<bool>("savedSoon");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("after");
        const QStringList box5{"[COLOR]",  "Color0=1", "Color1=2",
                               "Color2=3", "Color3=4", "Color4=5"};
        const QColor none;
        const QStringList startPoint0{"[AppSet]", "StartPoint=0"};
        QTest::newRow("no file: 64 white swatches")
            << QStringList() << Steps() << Swatches{{0, Qt::white}, {63, Qt::white}, {64, none}}
            << false << "64 on on on" << startPoint0;
        QTest::newRow("three swatches")
            << QStringList{"[APPSET]", "nColor=3"} << Steps() << Swatches{{2, Qt::white}, {3, none}}
            << false << "3 on on on" << QStringList{"[APPSET]", "nColor=3", "StartPoint=0"};
        QTest::newRow("at least two")
            << QStringList{"[APPSET]", "nColor=-5"} << Steps()
            << Swatches{{1, Qt::white}, {2, none}} << false << "2 on on on"
            << QStringList{"[APPSET]", "nColor=-5", "StartPoint=0"};
        QTest::newRow("at most 32768")
            << QStringList{"[APPSET]", "nColor=2147483647"} << Steps() << Swatches() << false
            << "32768 on on on" << QStringList{"[APPSET]", "nColor=2147483647", "StartPoint=0"};
        QTest::newRow("stored colours, remembering slot 7")
            << QStringList{"[APPSET]", "AutoRember=1", "StartPoint=7"} + box5 << Steps()
            << Swatches{{0, "#010000"}, {4, "#050000"}, {5, Qt::white}} << false << "64 on on on"
            << QStringList{"[APPSET]", "AutoRember=1", "StartPoint=7"} + box5;
        QTest::newRow("forgetting: the first white swatch")
            << QStringList{"[APPSET]", "AutoRember=0", "StartPoint=7"} + box5 << Steps()
            << Swatches() << false << "64 on on off"
            << QStringList{"[APPSET]", "AutoRember=0", "StartPoint=5"} + box5;
        QTest::newRow("saving into swatches")
            << QStringList() << Steps{swatchMenu(0, "menuSaveBg"), swatchMenu(2, "menuSaveFg")}
            << Swatches{{0, "#CD890F"}, {2, Qt::black}} << true << "64 on on on"
            << QStringList{"[COLOR]", "Color0=1018317", "Color2=0", "[AppSet]", "StartPoint=2"};
        QTest::newRow("Ctrl+S") << QStringList() << Steps{ctrlKey(Qt::Key_S)}
                                << Swatches{{0, "#CD890F"}} << true << "64 on on on"
                                << QStringList{"[COLOR]", "Color0=1018317"} + startPoint0;
        QTest::newRow("Ctrl+D") << QStringList{"[COLOR]", "Color0=5"} << Steps{ctrlKey(Qt::Key_D)}
                                << Swatches{{0, Qt::black}} << true << "64 on on on"
                                << QStringList{"[COLOR]", "Color0=0"} + startPoint0;
        // White from a white swatch: the old colour must not come back.
        QTest::newRow("saving white") << QStringList{"[COLOR]", "Color0=5", "Color1=6"}
                                      << Steps{swatchMenu(3, "setFg"), swatchMenu(0, "menuSaveFg")}
                                      << Swatches{{0, Qt::white}} << true << "64 on on on"
                                      << QStringList{"[COLOR]", "Color1=6"} + startPoint0;
        QTest::newRow("auto-load off")
            << QStringList{"[APPSET]", "AutoLoad=0", "AutoRember=0",
                           "[COLOR]",  "Color0=111", "Color1=222"}
            << Steps{swatchMenu(1, "menuSaveFg")} << Swatches{{0, Qt::white}} << true
            << "64 on off off"
            << QStringList{"[APPSET]", "AutoLoad=0", "AutoRember=0", "StartPoint=1",
                           "[COLOR]",  "Color0=111", "Color1=0"};
        QTest::newRow("auto-save off")
            << QStringList{"[APPSET]", "AutoSave=0", "StartPoint=9", "[COLOR]", "Color0=5"}
            << Steps{swatchMenu(3, "menuSaveBg")} << Swatches{{0, "#050000"}} << false
            << "64 off on on"
            << QStringList{"[APPSET]", "AutoSave=0", "StartPoint=9", "[COLOR]", "Color0=5"};
        // Saving writes every key, and the window goes by it at once: with
        // auto-save now off, the changed swatch is not written at exit.
        QTest::newRow("dialog saved")
            << QStringList()
            << Steps{openDialog(),    typeCount("30"),   click("Check1"),
                     click("Check2"), click("Command1"), swatchMenu(0, "menuSaveBg")}
            << Swatches() << false << "30 off off on"
            << QStringList{"[APPSET]", "AutoSave=0", "AutoLoad=0", "nColor=30", "AutoRember=1"};
        QTest::newRow("dialog discarded, then closed")
            << QStringList()
            << Steps{openDialog(), typeCount("99"), click("Check1"), click("Command2"),
                     openDialog(), typeCount("98"), click("Check2"), closeDialog()}
            << Swatches() << false << "64 on on on" << startPoint0;
        // A second open brings the same dialog.
        Steps keys{openDialog(), typeCount("99")};
        for (const char *control : {"Text1", "Command1", "Command2"})
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                keys << keyOn(control, key);
        QTest::newRow("Enter and Esc leave the dialog alone")
            << QStringList() << (keys << openDialog()) << Swatches() << false << "99 on on on"
            << startPoint0;
    }

    void startAndExit()
    {
        QFETCH(QStringList, before);
        QFETCH(Steps, steps);
        QFETCH(Swatches, swatches);
        QFETCH(QStringList, after);
        if (!before.isEmpty())
            f.writeIni(before);
        f.start();
        for (const Step &step : steps)
            step(*this);
        QTRY_VERIFY(!dlg || dlg->isVisible()); // a closed dialog is gone
        const QImage view = f.onScreen(f.control<QWidget>("Picture1"));
        for (const auto &[i, color] : swatches) {
            const QColor shows = view.pixelColor(16 + 16 * (i % 46), 21 + 16 * (i / 46));
            QVERIFY2(color.isValid() ? shows == color : shows != Qt::white,
                     qPrintable(QString::number(i)));
        }
        // A changed swatch reaches the file in about two seconds, not only at exit.
        QFETCH(bool, savedSoon);
        if (savedSoon) {
            QTest::qWait(2000);
            QCOMPARE(f.readIni(), f.iniText(after));
        }
        open();
        QTEST(shown(), "dialog");
        QCOMPARE(f.savedAtExit(), f.iniText(after));
        QCOMPARE(f.programEnded, 1);
    }

    void answersWhileAnotherCopyHoldsTheFile_data()
    {
        QTest::addColumn<Step>("change");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("swatch saved into")
            << swatchMenu(0, "menuSaveBg")
            << QStringList{"[COLOR]", "Color0=1018317", "[AppSet]", "StartPoint=0"};
        QTest::newRow("settings dialog saved") << Step([](SettingsTest &t) {
            t.open();
            click("Command1")(t);
        }) << QStringList{"[APPSET]", "AutoSave=1", "AutoLoad=1", "nColor=64", "AutoRember=1"};
        QTest::newRow("contrast read-out switched off")
            << contrastSwitch() << QStringList{"[APPSET]", "ShowContrast=0"};
    }

    // Another copy holds the file's lock for 4 s from just before the change:
    // the window answers all the while, and the change lands once the lock
    // is free, with nothing said to the user.
    void answersWhileAnotherCopyHoldsTheFile()
    {
        QFETCH(Step, change);
        QFETCH(QStringList, saved);
        f.start();
        LockHolder holder(f.iniPath(), 4000);
        QVERIFY(holder.started);
        LongestGap gap;
        change(*this);
        QTRY_COMPARE_WITH_TIMEOUT(f.readIni(), f.iniText(saved), 15000);
        qInfo("saved after %lld ms; the window went at most %lld ms without answering",
              gap.clock.elapsed(), gap.longest);
        QVERIFY(gap.clock.elapsed() > 3000); // not before the other copy let go
        QVERIFY2(gap.longest < 1000, qPrintable(QString::number(gap.longest)));
        QCOMPARE(f.messages.shown, QStringList());
    }

    // The exit waits for another copy's lock rather than lose the change.
    void exitWaitsForAnotherCopy()
    {
        f.start();
        LockHolder holder(f.iniPath(), 2000);
        QVERIFY(holder.started);
        f.pressSwatch(0, "menuSaveBg");
        QCOMPARE(f.savedAtExit(),
                 f.iniText({"[COLOR]", "Color0=1018317", "[AppSet]", "StartPoint=0"}));
        QCOMPARE(f.questions.asked, QStringList());
    }

    // A save that cannot happen is heard once per run of failures, naming the
    // file and the reason; at exit the user may retry or give up.
    void failedSavesAreHeard()
    {
        QVERIFY(QDir().mkdir(f.iniPath()));
        f.start();
        f.session->colorBox().setColor(1, rgb(5, 0, 0));
        QTRY_COMPARE(f.messages.shown.size(), 1);
        f.session->colorBox().setColor(2, rgb(6, 0, 0));
        QTest::qWait(2000);
        QCOMPARE(f.messages.shown, QStringList("无法保存设置文件“" + f.iniPath() +
                                               "”：同名的是一个文件夹，不是文件"));
        f.questions.retries = 1;
        f.form->close();
        QCOMPARE(f.questions.asked, QStringList(2, "Tintavo|" + f.messages.shown.front()));
        QCOMPARE(f.programEnded, 1);
    }

    // A save cut off after its recovery copy was written is finished at the
    // next start, which says so once.
    void interruptedSaveIsFinishedAtStart()
    {
        f.writeIni({"[COLOR]", "Color0=1"});
        const QByteArray home = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(f.settingsDir->filePath("config")));
        QVERIFY(writeRecoveryCopy(f.iniPath(), "[COLOR]\r\nColor0=2\r\n"));
        f.start();
        qputenv("XDG_CONFIG_HOME", home);
        QCOMPARE(f.readIni(), QByteArray("[COLOR]\r\nColor0=2\r\n"));
        QCOMPARE(f.swatchShows(0), QColor(2, 0, 0));
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.front().contains(f.iniPath()));
    }

    // Its texts, and Tab going round by the designed indexes.
    void dialogAsDesigned()
    {
        f.start();
        open();
        QCOMPARE(dlg->size(), QSize(292, 166));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(
            !(dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QStringList texts{dlg->windowTitle(), test::child<QGroupBox>(dlg, "Frame1")->title()};
        for (const char *name : {"Label1", "Check1", "Check2", "Check3", "Command1", "Command2"})
            texts << test::child<QWidget>(dlg, name)->property("text").toString();
        QCOMPARE(texts.join(u'|'),
                 "软件设置|软件设置|存储颜色容器数量：|运行结束时自动保存存储颜色|"
                 "运行时自动加载上次保存的颜色|记住上次保存颜色的最后位置|"
                 "保存设置|放弃设置");
        QTRY_COMPARE(QApplication::activeWindow(), dlg);
        QCOMPARE(test::tabChain(test::child<QWidget>(dlg, "Text1")),
                 "Text1 Check1 Check2 Command1 Command2 Check3 Text1");
    }

    // In a Wayland session the dialog says where the capture key is set; on
    // GNOME its button adds it to GNOME's own shortcuts, beside one there.
    void captureKeyOnTheDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("says");
        QTest::newRow("GNOME") << "ubuntu:GNOME"
                               << "“设置 → 键盘 → 自定义快捷键”";
        QTest::newRow("Plasma") << "KDE"
                                << "“系统设置 → 快捷键”";
        QTest::newRow("other") << "sway"
                               << "桌面的键盘快捷键设置里";
    }

    void captureKeyOnTheDesktop()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, says);
        if (TINTAVO_PLATFORM_NONE)
            QSKIP("a build without desktop services");
        QTemporaryDir home;
        QDir(home.path()).mkdir("schemas");
        QFile::copy(":/gnome_media_keys.gschema.xml", home.filePath("schemas/k.gschema.xml"));
        if (QProcess::execute("glib-compile-schemas", {home.filePath("schemas")}) != 0)
            QSKIP("no glib-compile-schemas");
        const QList<std::pair<const char *, QString>> env{
            {"WAYLAND_DISPLAY", "wayland-test"},
            {"XDG_CURRENT_DESKTOP", desktop},
            {"GSETTINGS_SCHEMA_DIR", home.filePath("schemas")},
            {"GSETTINGS_BACKEND", "keyfile"},
            {"XDG_CONFIG_HOME", home.path()}};
        for (const auto &[name, value] : env)
            qputenv(name, value.toUtf8());
        const auto restore = qScopeGuard([&] {
            for (const auto &[name, value] : env)
                qunsetenv(name);
        });
        const QString media = "org.gnome.settings-daemon.plugins.media-keys";
        QProcess::execute("gsettings", {"set", media, "custom-keybindings", "['/mine/']"});
        f.start();
        open();
        QCOMPARE(dlg->size(), QSize(292, 264));
        auto *text = test::child<QLabel>(dlg, "lblCaptureKey");
        QVERIFY(text->text().contains(says) && text->text().contains("--capture"));
        auto *add = dlg->findChild<QPushButton *>("cmdAddCaptureKey");
        QCOMPARE(add != nullptr, desktop.contains("GNOME"));
        if (!add)
            return;
        QTest::mouseClick(add, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(text->text().startsWith("已添加"), 10000);
        const auto get = [](const QString &schema, const QString &key) {
            QProcess p;
            p.start("gsettings", {"get", schema, key});
            p.waitForFinished();
            return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        };
        const QString path = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/"
                             "tintavo-capture/";
        QCOMPARE(get(media, "custom-keybindings"), "['/mine/', '" + path + "']");
        const QString ours = media + ".custom-keybinding:" + path;
        QCOMPARE(get(ours, "binding"), "'<Alt><Shift>s'");
        QVERIFY(get(ours, "command").endsWith(" --capture'"));
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
