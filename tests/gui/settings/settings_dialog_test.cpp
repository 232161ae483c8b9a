#include "settings/ini_settings.h"
#include "settings/settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace tintavo {

// The dialog over a settings file of its own, saving with the real writer.
class SettingsDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    Settings settings;
    QPointer<SettingsDialog> slot;

    QString iniPath() const { return dir->filePath(QStringLiteral("Tintavo.ini")); }
    QByteArray fileBytes() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
    SettingsDialog *open() { return SettingsDialog::showSingle(slot, settings, SaveSettings); }
    template <typename T = QWidget> T *control(const char *name)
    {
        T *w = slot->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QString shown() // the count box's text and the three boxes, as a user reads them
    {
        QString text = control<QLineEdit>("Text1")->text();
        for (const char *name : {"Check1", "Check2", "Check3"})
            text += control<QCheckBox>(name)->isChecked() ? u" on" : u" off";
        return text;
    }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        setIniPathForTesting(iniPath());
        settings = Settings{true, false, 48, true, 0};
    }

    void cleanup()
    {
        delete slot.data();
        setIniPathForTesting(QString());
    }

    void windowAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("frame") << "Frame1"
                               << "软件设置" << QRect(5, 3, 283, 122);
        QTest::newRow("count label") << "Label1"
                                     << "存储颜色容器数量：" << QRect(8, 14, 114, 18);
        QTest::newRow("count box") << "Text1"
                                   << "48" << QRect(131, 13, 96, 18);
        QTest::newRow("auto-save") << "Check1"
                                   << "运行结束时自动保存存储颜色" << QRect(9, 45, 218, 12);
        QTest::newRow("auto-load") << "Check2"
                                   << "运行时自动加载上次保存的颜色" << QRect(9, 71, 223, 17);
        QTest::newRow("remember") << "Check3"
                                  << "记住上次保存颜色的最后位置" << QRect(9, 97, 193, 17);
        QTest::newRow("save") << "Command1"
                              << "保存设置" << QRect(127, 137, 74, 21);
        QTest::newRow("discard") << "Command2"
                                 << "放弃设置" << QRect(214, 138, 71, 20);
    }

    void windowAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        SettingsDialog *dlg = open();
        QCOMPARE(dlg->windowTitle(), QStringLiteral("软件设置"));
        QCOMPARE(dlg->size(), QSize(292, 166));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(
            !(dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QWidget *w = control(name.toLatin1().constData());
        QCOMPARE(w->property(qobject_cast<QGroupBox *>(w) ? "title" : "text").toString(), text);
        QCOMPARE(w->geometry(), geometry);
    }

    void showsTheFilesSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no file") << QByteArray() << "64 on on on";
        QTest::newRow("switches off")
            << QByteArray("[APPSET]\r\nAutoSave=0\r\nAutoLoad=0\r\nnColor=7\r\n"
                          "AutoRember=0\r\n")
            << "7 off off off";
        QTest::newRow("hand-edited values")
            << QByteArray("[appset]\nAutoSave=2\nAutoLoad=-1\nnColor=-3\n") << "-3 off off on";
        QTest::newRow("binary junk") << QByteArray("\xff\xfe[\0A\0]\0\n\x01", 10) << "64 on on on";
    }

    void showsTheFilesSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        if (!file.isEmpty()) {
            QFile out(iniPath());
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(file);
        }
        settings = LoadSettings();
        open();
        QCOMPARE(this->shown(), shown);
    }

    void saveWritesEveryKeyAndCloses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("count");
        QTest::newRow("blanks around") << " 30 " << QByteArray("30");
        QTest::newRow("unchanged") << "48" << QByteArray("48");
        QTest::newRow("letters") << "abc" << QByteArray("65");
        QTest::newRow("negative kept") << "-5" << QByteArray("-5");
    }

    void saveWritesEveryKeyAndCloses()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, count);
        open();
        control<QLineEdit>("Text1")->setText(text);
        click("Check1");
        click("Check2");
        click("Command1");
        QTRY_VERIFY(slot.isNull());
        QCOMPARE(fileBytes(), "[APPSET]\r\nAutoSave=0\r\nAutoLoad=1\r\nnColor=" + count +
                                  "\r\nAutoRember=1\r\n");
        open();
        QCOMPARE(shown(), QString::fromLatin1(count) + " off on on");
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
        open();
        control<QLineEdit>("Text1")->setText("99");
        click("Check1");
        if (closeBox)
            slot->close();
        else
            click("Command2");
        QTRY_VERIFY(slot.isNull());
        QCOMPARE(fileBytes(), "(no file)");
        open();
        QCOMPARE(shown(), "48 on off on");
    }

    void secondOpenKeepsTheEdits()
    {
        SettingsDialog *first = open();
        control<QLineEdit>("Text1")->setText("77");
        QCOMPARE(open(), first);
        QCOMPARE(shown(), "77 on off on");
    }

    void tabOrderEndsWithCheck3()
    {
        QVERIFY(QTest::qWaitForWindowActive(open()));
        control("Text1")->setFocus();
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Text1", "Check1", "Check2", "Command1", "Command2", "Check3",
                                     "Text1"}));
    }

    void enterAndEscLeaveTheDialogAlone()
    {
        QVERIFY(QTest::qWaitForWindowActive(open()));
        for (const char *name : {"Text1", "Command1", "Command2"}) {
            control(name)->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(control(name), key);
        }
        QVERIFY(slot && slot->isVisible());
        QCOMPARE(fileBytes(), "(no file)");
    }
};

} // namespace tintavo

QTEST_MAIN(tintavo::SettingsDialogTest)
#include "settings_dialog_test.moc"
