#include "colorbox/color_box_model.h"
#include "colorbox/swatch_view.h"
#include "main_window_fixture.h"
#include "settings/safe_file.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

class StartupTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    ColorBoxModel &box() const { return f.form->colorBox(); }

    // The colour the swatch at grid column `col`, row `row` shows.
    QColor swatchShows(int col, int row) const
    {
        return f.onScreen(f.form->findChild<SwatchView *>())
            .pixelColor(8 + 16 * col + 8, 13 + 16 * row + 8);
    }

    QWidget *openSettings() const
    {
        f.press("exit_me");
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"FrmSet" && w->isVisible())
                return w;
        }
        qFatal("no settings dialog");
    }

    QByteArray savedAtExit()
    {
        f.form->close();
        f.form.reset();
        return f.readIni();
    }

private slots:
    void cleanup() { f.resetSettings(); }

    void firstStartWithoutAFile()
    {
        f.start();
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！"));
        QCOMPARE(f.control<QGroupBox>("Frame1")->title(),
                 QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！::效果预览::"));
        QVERIFY(f.control<QPlainTextEdit>("effect_text")
                    ->toPlainText()
                    .contains(QStringLiteral("Brenvik软件工作室的作品，欢迎您使用！")));
        // 64 white swatches: the last ends row 1 after 46 in row 0.
        QCOMPARE(swatchShows(17, 1), QColor(Qt::white));
        QVERIFY(swatchShows(18, 1) != QColor(Qt::white));
        QVERIFY(!QFile::exists(f.iniPath())); // starting writes nothing
        QCOMPARE(savedAtExit(), QByteArray("[AppSet]\r\nStartPoint=0\r\n"));
    }

    void storedColoursComeBack()
    {
        f.writeIni({"[COLOR]", "Color0=0", "Color2=1018317", "Color70=255"});
        f.start();
        QCOMPARE(swatchShows(0, 0), QColor(0, 0, 0));
        QCOMPARE(swatchShows(1, 0), QColor(Qt::white));
        QCOMPARE(swatchShows(2, 0), QColor(205, 137, 15));
    }

    void startSlot_data()
    {
        QTest::addColumn<int>("autoRember");
        QTest::addColumn<int>("startPoint");
        QTest::addColumn<int>("slot");
        QTest::newRow("forgetting: the first white swatch") << 0 << 0 << 5;
        QTest::newRow("remembering slot 7") << 1 << 7 << 7;
        QTest::newRow("remembering the last slot gives 0") << 1 << 63 << 0;
        QTest::newRow("a switch other than 1 is off") << 2 << 7 << 5;
    }

    void startSlot()
    {
        QFETCH(int, autoRember);
        QFETCH(int, startPoint);
        QFETCH(int, slot);
        QStringList file = {"[APPSET]", QStringLiteral("AutoRember=%1").arg(autoRember),
                            QStringLiteral("StartPoint=%1").arg(startPoint), "[COLOR]"};
        for (int i = 0; i < 5; ++i)
            file << QStringLiteral("Color%1=%2").arg(i).arg(i + 1);
        f.writeIni(file);
        f.start();
        QVERIFY(savedAtExit().contains(QStringLiteral("StartPoint=%1\r\n").arg(slot).toLatin1()));
    }

    void swatchCountIsBounded_data()
    {
        QTest::addColumn<QString>("nColor");
        QTest::addColumn<QString>("count");
        QTest::newRow("one") << "1"
                             << "2";
        QTest::newRow("negative") << "-5"
                                  << "2";
        QTest::newRow("junk") << "abc"
                              << "2";
        QTest::newRow("three") << "3"
                               << "3";
        QTest::newRow("largest integer") << "2147483647"
                                         << "32768";
    }

    void swatchCountIsBounded()
    {
        QFETCH(QString, nColor);
        QFETCH(QString, count);
        f.writeIni({"[APPSET]", "nColor=" + nColor});
        f.start();
        QCOMPARE(openSettings()->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), count);
    }

    void autoLoadOffStartsWhiteAndSavesOnlyThisRunsColours()
    {
        f.writeIni(
            {"[APPSET]", "AutoLoad=0", "AutoRember=0", "[COLOR]", "Color0=111", "Color1=222"});
        f.start();
        QCOMPARE(swatchShows(0, 0), QColor(Qt::white));
        f.pressSwatch(1, QStringLiteral("menuSaveFg"));
        QCOMPARE(savedAtExit(),
                 QByteArray("[APPSET]\r\nAutoLoad=0\r\nAutoRember=0\r\nStartPoint=1\r\n"
                            "[COLOR]\r\nColor0=111\r\nColor1=0\r\n"));
    }

    void firstExitWritesTheColourBoxAndTheSlot()
    {
        f.start();
        f.pressSwatch(0, QStringLiteral("menuSaveBg"));
        f.pressSwatch(2, QStringLiteral("menuSaveFg"));
        QCOMPARE(savedAtExit(), QByteArray("[COLOR]\r\nColor0=1018317\r\nColor2=0\r\n"
                                           "[AppSet]\r\nStartPoint=2\r\n"));
    }

    void autoSaveOffWritesNothing()
    {
        f.writeIni({"[APPSET]", "AutoSave=0", "StartPoint=9", "[COLOR]", "Color0=5"});
        const QByteArray before = f.readIni();
        f.start();
        f.pressSwatch(3, QStringLiteral("menuSaveBg"));
        QCOMPARE(savedAtExit(), before);
        QCOMPARE(f.programEnded, 1);
    }

    void clearingAutoSaveInTheDialogTakesEffectAtOnce()
    {
        f.start();
        QWidget *dialog = openSettings();
        auto *check1 = dialog->findChild<QAbstractButton *>(QStringLiteral("Check1"));
        QVERIFY(check1->isChecked());
        check1->setChecked(false);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        f.pressSwatch(0, QStringLiteral("menuSaveBg"));
        QTest::qWait(2000);
        const QByteArray saved = f.readIni();
        QCOMPARE(
            saved,
            QByteArray("[APPSET]\r\nAutoSave=0\r\nAutoLoad=1\r\nnColor=64\r\nAutoRember=1\r\n"));
        QCOMPARE(savedAtExit(), saved);
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
        box().setColor(3, 1234);
        box().setColor(4, 5);
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
        box().setColor(1, 5);
        QTRY_COMPARE(f.messages.shown.size(), 1);
        box().setColor(2, 6);
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
        QCOMPARE(swatchShows(0, 0), QColor(2, 0, 0));
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.front().contains(f.iniPath()));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
