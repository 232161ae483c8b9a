#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "settings/safe_file.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

namespace {

// A settings file with remember-position and the given colours in slots
// 0, 1, ...; `count` swatches.
QStringList colouredFile(int coloured, int count, int autoRember, int startPoint = 0)
{
    QStringList lines = {QStringLiteral("[APPSET]"), QStringLiteral("nColor=%1").arg(count),
                         QStringLiteral("AutoRember=%1").arg(autoRember),
                         QStringLiteral("StartPoint=%1").arg(startPoint),
                         QStringLiteral("[COLOR]")};
    for (int i = 0; i < coloured; ++i)
        lines << QStringLiteral("Color%1=%2").arg(i).arg(i + 1);
    return lines;
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    ColorBoxModel &box() const { return f.form->colorBox(); }

    static QWidget *openDialog()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"FrmSet" && w->isVisible())
                return w;
        }
        return nullptr;
    }

private slots:
    void cleanup() { f.resetSettings(); }

    void firstStartWithoutAFile()
    {
        f.start();
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！"));
        QCOMPARE(f.control<QGroupBox>("Frame1")->title(),
                 QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！::效果预览::"));
        QVERIFY(f.form->isVisible());
        QCOMPARE(box().count(), 64);
        QVERIFY(box().colors() == std::vector<ColorValue>(64, kWhite));
        QCOMPARE(box().lPicIndex, 0);
        QCOMPARE(f.form->settings.autoSave, 1);
        QCOMPARE(f.form->settings.autoLoad, 1);
        QCOMPARE(f.form->settings.swatchCount, 64);
        QCOMPARE(f.form->settings.rememberStartSlot, 1);
        QVERIFY(f.control<QPlainTextEdit>("effect_text")
                    ->toPlainText()
                    .contains(QStringLiteral("Brenvik软件工作室的作品，欢迎您使用！")));
        // Starting writes nothing.
        QVERIFY(!QFile::exists(f.iniPath()));
    }

    void storedColoursComeBack()
    {
        f.writeIni({"[COLOR]", "Color0=0", "Color2=1018317", "Color70=255"});
        f.start();
        QCOMPARE(box().color(0), RGB(0, 0, 0));
        QCOMPARE(box().color(1), kWhite);
        QCOMPARE(box().color(2), RGB(205, 137, 15));
    }

    void startSlot_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<int>("slot");
        QTest::newRow("forgetting, five coloured") << colouredFile(5, 64, 0) << 5;
        QTest::newRow("forgetting, all but the last coloured") << colouredFile(63, 64, 0) << 64;
        QTest::newRow("forgetting, none white") << colouredFile(64, 64, 0) << 64;
        QTest::newRow("remembering slot 7") << colouredFile(5, 64, 1, 7) << 7;
        QTest::newRow("remembering slot 0") << colouredFile(5, 64, 1, 0) << 0;
        QTest::newRow("remembering the last slot") << colouredFile(5, 64, 1, 63) << 0;
        QTest::newRow("remembering past the end") << colouredFile(5, 64, 1, 64) << 0;
        QTest::newRow("remembering a negative slot") << colouredFile(5, 64, 1, -1) << 0;
        QTest::newRow("a switch other than 1 is off") << colouredFile(5, 64, 2, 7) << 5;
    }

    void startSlot()
    {
        QFETCH(QStringList, file);
        QFETCH(int, slot);
        f.writeIni(file);
        f.start();
        QCOMPARE(box().lPicIndex, slot);
    }

    void swatchCountIsBounded_data()
    {
        QTest::addColumn<QString>("nColor");
        QTest::addColumn<int>("count");
        QTest::newRow("one") << "1" << 2;
        QTest::newRow("zero") << "0" << 2;
        QTest::newRow("negative") << "-5" << 2;
        QTest::newRow("junk") << "abc" << 2;
        QTest::newRow("three") << "3" << 3;
        QTest::newRow("the index limit") << "32768" << 32768;
        QTest::newRow("largest integer") << "2147483647" << 32768;
    }

    void swatchCountIsBounded()
    {
        QFETCH(QString, nColor);
        QFETCH(int, count);
        f.writeIni({"[APPSET]", "nColor=" + nColor});
        f.start();
        QCOMPARE(box().count(), count);
        QCOMPARE(f.form->settings.swatchCount, count);
    }

    void autoLoadOffStartsWhiteAndSavesOnlyThisRunsColours()
    {
        f.writeIni(
            {"[APPSET]", "AutoLoad=0", "AutoRember=0", "[COLOR]", "Color0=111", "Color1=222"});
        f.start();
        QVERIFY(box().colors() == std::vector<ColorValue>(64, kWhite));
        QCOMPARE(box().lPicIndex, 0);
        box().setColor(1, 333);
        box().lPicIndex = 2;
        f.form->close();
        f.form.reset();
        QCOMPARE(f.readIni(),
                 QByteArray("[APPSET]\r\nAutoLoad=0\r\nAutoRember=0\r\nStartPoint=2\r\n"
                            "[COLOR]\r\nColor0=111\r\nColor1=333\r\n"));
    }

    void firstExitWritesTheColourBoxAndTheSlot()
    {
        f.start();
        box().setColor(0, RGB(255, 0, 0));
        box().setColor(1, RGB(0, 255, 0));
        box().setColor(2, RGB(0, 0, 255));
        box().lPicIndex = 3;
        f.form->close();
        QCOMPARE(f.programEnded, 1);
        QCOMPARE(f.readIni(),
                 QByteArray("[COLOR]\r\nColor0=255\r\nColor1=65280\r\nColor2=16711680\r\n"
                            "[AppSet]\r\nStartPoint=3\r\n"));
    }

    void autoSaveOffWritesNothing()
    {
        const QStringList file = {"[APPSET]", "AutoSave=0", "StartPoint=9", "[COLOR]", "Color0=5"};
        f.writeIni(file);
        const QByteArray before = f.readIni();
        f.start();
        box().setColor(3, 1234);
        f.form->close();
        QCOMPARE(f.programEnded, 1);
        QCOMPARE(f.readIni(), before);
    }

    void clearingAutoSaveInTheDialogTakesEffectAtOnce()
    {
        f.start();
        QTest::mouseClick(f.control<QPushButton>("exit_me"), Qt::LeftButton);
        QWidget *dialog = openDialog();
        QVERIFY(dialog);
        auto *check1 = dialog->findChild<QAbstractButton *>(QStringLiteral("Check1"));
        QVERIFY(check1->isChecked());
        check1->setChecked(false);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QCOMPARE(f.form->settings.autoSave, 0);
        box().setColor(0, 42);
        QTest::qWait(2000);
        const QByteArray saved = f.readIni();
        QCOMPARE(
            saved,
            QByteArray("[APPSET]\r\nAutoSave=0\r\nAutoLoad=1\r\nnColor=64\r\nAutoRember=1\r\n"));
        f.form->close();
        QCOMPARE(f.readIni(), saved);
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
        QCOMPARE(box().color(0), 2);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.front().contains(f.iniPath()));
    }

    void settingsDialogShowsTheRaisedCount()
    {
        f.writeIni({"[APPSET]", "nColor=1"});
        f.start();
        QTest::mouseClick(f.control<QPushButton>("exit_me"), Qt::LeftButton);
        QWidget *dialog = openDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(),
                 QStringLiteral("2"));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
