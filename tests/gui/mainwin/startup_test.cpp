#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "settings/safe_file.h"

#include <QDir>
#include <QGroupBox>

using namespace tintavo;

// Start-up and exit over the settings file.
class StartupTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;

private slots:
    void cleanup() { f.reset(); }

    void firstStartShowsTheDesignedTexts()
    {
        f.start();
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！"));
        QCOMPARE(f.control<QGroupBox>("Frame1")->title(),
                 QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！::效果预览::"));
        QVERIFY(f.control<QPlainTextEdit>("effect_text")
                    ->toPlainText()
                    .contains(QStringLiteral("Brenvik软件工作室的作品，欢迎您使用！")));
        QVERIFY(!QFile::exists(f.iniPath())); // starting writes nothing
    }

    // The file before the start ('|' between lines), the swatch menu commands
    // then chosen ("swatch:item"), what swatches show ("index=colour", "none"
    // for the bare frame past the last), and the file the exit leaves.
    void startAndExit_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QString>("swatches");
        QTest::addColumn<QString>("after");
        const QString box5 = "|[COLOR]|Color0=1|Color1=2|Color2=3|Color3=4|Color4=5";
        const QString rows[][5] = {
            {"no file: 64 white swatches", "", "", "0=#FFFFFF 63=#FFFFFF 64=none",
             "[AppSet]|StartPoint=0"},
            {"stored colours", "[COLOR]|Color0=0|Color2=1018317|Color70=255", "",
             "0=#000000 1=#FFFFFF 2=#CD890F",
             "[COLOR]|Color0=0|Color2=1018317|Color70=255|[AppSet]|StartPoint=0"},
            {"three swatches", "[APPSET]|nColor=3", "", "2=#FFFFFF 3=none",
             "[APPSET]|nColor=3|StartPoint=0"},
            {"remembering slot 7", "[APPSET]|AutoRember=1|StartPoint=7" + box5, "",
             "4=#050000 5=#FFFFFF", "[APPSET]|AutoRember=1|StartPoint=7" + box5},
            {"forgetting: the first white swatch", "[APPSET]|AutoRember=0|StartPoint=7" + box5, "",
             "", "[APPSET]|AutoRember=0|StartPoint=5" + box5},
            {"saving into swatches", "", "0:menuSaveBg 2:menuSaveFg", "0=#CD890F 2=#000000",
             "[COLOR]|Color0=1018317|Color2=0|[AppSet]|StartPoint=2"},
            {"auto-load off", "[APPSET]|AutoLoad=0|AutoRember=0|[COLOR]|Color0=111|Color1=222",
             "1:menuSaveFg", "0=#FFFFFF",
             "[APPSET]|AutoLoad=0|AutoRember=0|StartPoint=1|[COLOR]|Color0=111|Color1=0"},
            {"auto-save off", "[APPSET]|AutoSave=0|StartPoint=9|[COLOR]|Color0=5", "3:menuSaveBg",
             "0=#050000", "[APPSET]|AutoSave=0|StartPoint=9|[COLOR]|Color0=5"},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << r[4];
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
        for (const QString &command : commands.split(u' ', Qt::SkipEmptyParts))
            f.pressSwatch(command.section(u':', 0, 0).toInt(), command.section(u':', 1));
        const QImage view = f.onScreen(f.form->findChild<SwatchView *>());
        for (const QString &swatch : swatches.split(u' ', Qt::SkipEmptyParts)) {
            const int i = swatch.section(u'=', 0, 0).toInt();
            const QColor shows = view.pixelColor(16 + 16 * (i % 46), 21 + 16 * (i / 46));
            if (swatch.endsWith(u"none"))
                QVERIFY2(shows != Qt::white, qPrintable(swatch));
            else
                QCOMPARE(shows, QColor(swatch.section(u'=', 1)));
        }
        QCOMPARE(f.savedAtExit(), (after.split(u'|').join("\r\n") + "\r\n").toLatin1());
        QCOMPARE(f.programEnded, 1);
    }

    // With auto-save on a change reaches the file in about two seconds,
    // without waiting for the exit; with it off, nothing is written.
    void changesAreSavedPromptly_data()
    {
        QTest::addColumn<QString>("autoSave");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("on") << "1"
                            << QByteArray("[APPSET]\r\nAutoSave=1\r\nStartPoint=0\r\n"
                                          "[COLOR]\r\nColor3=1234\r\nColor4=5\r\n");
        QTest::newRow("off") << "0" << QByteArray("[APPSET]\r\nAutoSave=0\r\n");
    }

    void changesAreSavedPromptly()
    {
        QFETCH(QString, autoSave);
        f.writeIni({"[APPSET]", "AutoSave=" + autoSave});
        f.start();
        f.form->colorBox().setColor(3, 1234);
        f.form->colorBox().setColor(4, 5);
        QTest::qWait(2000);
        QTEST(f.readIni(), "expected");
    }

    // A save that cannot happen is heard once per run of failures, naming the
    // file and the reason; at exit the user may retry or give up.
    void failedSavesAreHeard()
    {
        f.prepareSettingsDir();
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
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
