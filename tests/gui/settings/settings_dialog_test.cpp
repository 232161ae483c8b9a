#include "main_window_fixture.h"

#include <QCheckBox>
#include <QGroupBox>

using namespace tintavo;

// The dialog as the main window's settings button opens it, over a settings
// file of its own.
class SettingsDialogTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;
    QPointer<QWidget> dlg;

    QWidget *open()
    {
        f.press("exit_me");
        return dlg = test::window("FrmSet");
    }
    template <typename T = QWidget> T *control(const char *name) const
    {
        return test::child<T>(dlg, name);
    }
    // The count box's text and the three boxes, as a user reads them.
    QString shown() const
    {
        QString text = control<QLineEdit>("Text1")->text();
        for (const char *name : {"Check1", "Check2", "Check3"})
            text += control<QCheckBox>(name)->isChecked() ? u" on" : u" off";
        return text;
    }
    void click(const char *name) const { QTest::mouseClick(control(name), Qt::LeftButton); }

private slots:
    void cleanup() { f.reset(); }

    void windowAsDesigned()
    {
        f.start();
        open();
        QCOMPARE(dlg->windowTitle(), QStringLiteral("软件设置"));
        QCOMPARE(dlg->size(), QSize(292, 166));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(
            !(dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QStringList texts{control<QGroupBox>("Frame1")->title()};
        for (const char *name : {"Label1", "Check1", "Check2", "Check3", "Command1", "Command2"})
            texts << control(name)->property("text").toString();
        QCOMPARE(texts, (QStringList{"软件设置", "存储颜色容器数量：", "运行结束时自动保存存储颜色",
                                     "运行时自动加载上次保存的颜色", "记住上次保存颜色的最后位置",
                                     "保存设置", "放弃设置"}));
        // Tab goes round by the designed indexes.
        QTRY_COMPARE(QApplication::activeWindow(), dlg);
        control<QLineEdit>("Text1")->setFocus();
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Text1", "Check1", "Check2", "Command1", "Command2", "Check3",
                                     "Text1"}));
        // Enter and Esc leave it alone, whatever has the focus.
        for (const char *name : {"Text1", "Command1", "Command2"}) {
            control(name)->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(control(name), key);
        }
        QVERIFY(dlg->isVisible());
        // A second open brings the same dialog, edits and all.
        control<QLineEdit>("Text1")->setText("77");
        QWidget *first = dlg;
        QCOMPARE(open(), first);
        QCOMPARE(shown(), "77 on on on");
        QVERIFY(!QFile::exists(f.iniPath()));
    }

    void showsTheFilesSettings_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no file") << QString() << "64 on on on";
        QTest::newRow("switches off") << "[APPSET]|AutoSave=0|AutoLoad=0|nColor=7|AutoRember=0"
                                      << "7 off off off";
        QTest::newRow("the box holds at least two") << "[APPSET]|nColor=-5"
                                                    << "2 on on on";
        QTest::newRow("and at most 32768") << "[APPSET]|nColor=2147483647"
                                           << "32768 on on on";
    }

    void showsTheFilesSettings()
    {
        QFETCH(QString, file);
        if (!file.isEmpty())
            f.writeIni(file.split(u'|'));
        f.start();
        open();
        QTEST(shown(), "shown");
    }

    // Saving writes every key at once and the main window goes by it: with
    // auto-save now off, a changed swatch is not written, not even at exit.
    void saveWritesEveryKeyAndTakesEffect()
    {
        f.start();
        open();
        control<QLineEdit>("Text1")->setText(" 30 ");
        click("Check1");
        click("Check2");
        click("Command1");
        QTRY_VERIFY(!dlg);
        const QByteArray saved(
            "[APPSET]\r\nAutoSave=0\r\nAutoLoad=0\r\nnColor=30\r\nAutoRember=1\r\n");
        QCOMPARE(f.readIni(), saved);
        open();
        QCOMPARE(shown(), "30 off off on");
        f.pressSwatch(0, QStringLiteral("menuSaveBg"));
        QTest::qWait(2000);
        QCOMPARE(f.savedAtExit(), saved);
    }

    void discardAndCloseBoxKeepEverything_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("discard button") << false;
        QTest::newRow("close box") << true;
    }

    void discardAndCloseBoxKeepEverything()
    {
        QFETCH(bool, closeBox);
        f.start();
        open();
        control<QLineEdit>("Text1")->setText("99");
        click("Check1");
        if (closeBox)
            dlg->close();
        else
            click("Command2");
        QTRY_VERIFY(!dlg);
        QVERIFY(!QFile::exists(f.iniPath()));
        open();
        QCOMPARE(shown(), "64 on on on");
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
