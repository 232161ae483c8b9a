// The settings file through a run of the program: what the start reads from
// it, what the settings dialog shows and saves, what the exit leaves in it.
#include "color/preview_inspector.h"
#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "picker/picker_window.h"
#include "settings/safe_file.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QProcess>

using namespace tintavo;

// Something the user does that saves.
using Change = std::function<void(test::MainWindowFixture &)>;
Q_DECLARE_METATYPE(Change)

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

    QWidget *open()
    {
        f.press("exit_me");
        return dlg = f.control<QWidget>("FrmSet");
    }
    // The count box and the three check boxes, as a user reads them.
    QString shown() const
    {
        QString text = test::child<QLineEdit>(dlg, "Text1")->text();
        for (const char *name : {"Check1", "Check2", "Check3"})
            text += test::child<QCheckBox>(dlg, name)->isChecked() ? u" on" : u" off";
        return text;
    }

private slots:
    void cleanup() { f.reset(); }

    // The file before the start ('|' between lines); what the user then does
    // ("swatch:item" on the swatch menu, a menu key, "exit_me" opening the
    // dialog, "Text1=count" typed there, "control:key" pressed there, or a
    // click on its "CheckN", "CommandN" or "close" box); what swatches show ("index=colour", "none"
    // for the bare frame past the last); what the dialog shows when opened
    // then; and the file the exit leaves.
    void startAndExit_data()
    {
        for (const char *column : {"before", "commands", "swatches", "dialog", "after"})
            QTest::addColumn<QString>(column);
        const QString box5 = "|[COLOR]|Color0=1|Color1=2|Color2=3|Color3=4|Color4=5";
        const QString rows[][6] = {
            {"no file: 64 white swatches", "", "", "0=#FFFFFF 63=#FFFFFF 64=none", "64 on on on",
             "[AppSet]|StartPoint=0"},
            {"three swatches", "[APPSET]|nColor=3", "", "2=#FFFFFF 3=none", "3 on on on",
             "[APPSET]|nColor=3|StartPoint=0"},
            {"at least two", "[APPSET]|nColor=-5", "", "1=#FFFFFF 2=none", "2 on on on",
             "[APPSET]|nColor=-5|StartPoint=0"},
            {"at most 32768", "[APPSET]|nColor=2147483647", "", "", "32768 on on on",
             "[APPSET]|nColor=2147483647|StartPoint=0"},
            {"stored colours, remembering slot 7", "[APPSET]|AutoRember=1|StartPoint=7" + box5, "",
             "0=#010000 4=#050000 5=#FFFFFF", "64 on on on",
             "[APPSET]|AutoRember=1|StartPoint=7" + box5},
            {"forgetting: the first white swatch", "[APPSET]|AutoRember=0|StartPoint=7" + box5, "",
             "", "64 on on off", "[APPSET]|AutoRember=0|StartPoint=5" + box5},
            {"saving into swatches", "", "0:menuSaveBg 2:menuSaveFg", "0=#CD890F 2=#000000",
             "64 on on on", "[COLOR]|Color0=1018317|Color2=0|[AppSet]|StartPoint=2"},
            {"Ctrl+S", "", "Ctrl+S", "0=#CD890F", "64 on on on",
             "[COLOR]|Color0=1018317|[AppSet]|StartPoint=0"},
            {"Ctrl+D", "[COLOR]|Color0=5", "Ctrl+D", "0=#000000", "64 on on on",
             "[COLOR]|Color0=0|[AppSet]|StartPoint=0"},
            {"auto-load off", "[APPSET]|AutoLoad=0|AutoRember=0|[COLOR]|Color0=111|Color1=222",
             "1:menuSaveFg", "0=#FFFFFF", "64 on off off",
             "[APPSET]|AutoLoad=0|AutoRember=0|StartPoint=1|[COLOR]|Color0=111|Color1=0"},
            {"auto-save off", "[APPSET]|AutoSave=0|StartPoint=9|[COLOR]|Color0=5", "3:menuSaveBg",
             "0=#050000", "64 off on on", "[APPSET]|AutoSave=0|StartPoint=9|[COLOR]|Color0=5"},
            // Saving writes every key, and the window goes by it at once: with
            // auto-save now off, the changed swatch is not written at exit.
            {"dialog saved", "", "exit_me Text1=30 Check1 Check2 Command1 0:menuSaveBg", "",
             "30 off off on", "[APPSET]|AutoSave=0|AutoLoad=0|nColor=30|AutoRember=1"},
            {"dialog discarded, then closed", "",
             "exit_me Text1=99 Check1 Command2 exit_me Text1=98 Check2 close", "", "64 on on on",
             "[AppSet]|StartPoint=0"},
            // A second open brings the same dialog.
            {"Enter and Esc leave the dialog alone", "",
             "exit_me Text1=99 Text1:Return Text1:Enter Text1:Esc Command1:Return "
             "Command1:Enter Command1:Esc Command2:Return Command2:Enter Command2:Esc exit_me",
             "", "99 on on on", "[AppSet]|StartPoint=0"},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << r[4] << r[5];
    }

    void startAndExit()
    {
        QFETCH(QString, before);
        QFETCH(QString, commands);
        QFETCH(QString, swatches);
        QFETCH(QString, after);
        if (!before.isEmpty())
            f.writeIni(before.split(u'|'));
        f.start();
        for (const QString &command : commands.split(u' ', Qt::SkipEmptyParts)) {
            if (command.startsWith(u"Ctrl+")) // the menu's key, on swatch 0 before any press
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(command.back().unicode()),
                                Qt::ControlModifier);
            else if (command[0].isDigit())
                f.pressSwatch(command.section(u':', 0, 0).toInt(), command.section(u':', 1));
            else if (command.contains(u':'))
                QTest::keyClick(test::child<QWidget>(dlg, command.section(u':', 0, 0)),
                                QKeySequence(command.section(u':', 1))[0].key());
            else if (command == u"exit_me")
                open();
            else if (command.contains(u'='))
                test::child<QLineEdit>(dlg, "Text1")->setText(command.section(u'=', 1));
            else if (command == u"close")
                dlg->close();
            else
                QTest::mouseClick(test::child<QWidget>(dlg, command), Qt::LeftButton);
        }
        QTRY_VERIFY(!dlg || dlg->isVisible()); // a closed dialog is gone
        const QImage view = f.onScreen(f.control<QWidget>("Picture1"));
        for (const QString &swatch : swatches.split(u' ', Qt::SkipEmptyParts)) {
            const int i = swatch.section(u'=', 0, 0).toInt();
            const QColor shows = view.pixelColor(16 + 16 * (i % 46), 21 + 16 * (i / 46));
            if (swatch.endsWith(u"none"))
                QVERIFY2(shows != Qt::white, qPrintable(swatch));
            else
                QCOMPARE(shows, QColor(swatch.section(u'=', 1)));
        }
        // A changed swatch reaches the file in about two seconds, not only at exit.
        const QByteArray saved = (after.split(u'|').join("\r\n") + "\r\n").toLatin1();
        QTest::qWait(commands.contains(u"menuSave") ? 2000 : 0);
        if (commands.contains(u"menuSave"))
            QCOMPARE(f.readIni(), saved);
        open();
        QTEST(shown(), "dialog");
        QCOMPARE(f.savedAtExit(), saved);
        QCOMPARE(f.programEnded, 1);
    }

    void answersWhileAnotherCopyHoldsTheFile_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("saved");
        QTest::newRow("swatch saved into") << Change([](test::MainWindowFixture &f) {
            f.pressSwatch(0, "menuSaveBg");
        }) << "[COLOR]|Color0=1018317|[AppSet]|StartPoint=0";
        QTest::newRow("settings dialog saved") << Change([](test::MainWindowFixture &f) {
            f.press("exit_me");
            QTest::mouseClick(test::child<QWidget>(f.control<QWidget>("FrmSet"), "Command1"),
                              Qt::LeftButton);
        }) << "[APPSET]|AutoSave=1|AutoLoad=1|nColor=64|AutoRember=1";
        QTest::newRow("contrast read-out switched off") << Change([](test::MainWindowFixture &f) {
            std::unique_ptr<QMenu> menu(f.form->previewInspector().createContextMenu({}));
            for (QAction *action : menu->actions())
                if (action->text() == u"显示对比度")
                    action->trigger();
        }) << "[APPSET]|ShowContrast=0";
        QTest::newRow("picker's sample size chosen") << Change([](test::MainWindowFixture &f) {
            f.press("cmdMouse");
            PickerWindow *picker = f.form->picker();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, {5, 5}, picker->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(picker, &event);
            QApplication::activePopupWidget()->close();
            picker->findChild<QAction *>("menuSample3")->trigger();
        }) << "[APPSET]|SampleSize=3";
    }

    // Another copy holds the file's lock for 4 s from just before the change:
    // the window answers all the while, and the change lands once the lock
    // is free, with nothing said to the user.
    void answersWhileAnotherCopyHoldsTheFile()
    {
        QFETCH(Change, change);
        QFETCH(QString, saved);
        f.start();
        LockHolder holder(f.iniPath(), 4000);
        QVERIFY(holder.started);
        LongestGap gap;
        change(f);
        QTRY_COMPARE_WITH_TIMEOUT(f.readIni(), (saved.split(u'|').join("\r\n") + "\r\n").toLatin1(),
                                  15000);
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
        QCOMPARE(f.savedAtExit(), "[COLOR]\r\nColor0=1018317\r\n[AppSet]\r\nStartPoint=0\r\n");
        QCOMPARE(f.questions.asked, QStringList());
    }

    // A save that cannot happen is heard once per run of failures, naming the
    // file and the reason; at exit the user may retry or give up.
    void failedSavesAreHeard()
    {
        QVERIFY(QDir().mkdir(f.iniPath()));
        f.start();
        f.form->colorBox().setColor(1, 5);
        QTRY_COMPARE(f.messages.shown.size(), 1);
        f.form->colorBox().setColor(2, 6);
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
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
