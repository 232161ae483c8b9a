#include "settings/settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace tintavo {

class SettingsDialogTest : public QObject
{
    Q_OBJECT

private:
    struct Saved
    {
        SettingsMembers values;
        SettingsMembers membersAtCall; // what the main window's members held then
    };

    SettingsMembers members;
    QList<Saved> saves;
    QPointer<SettingsDialog> slot;

    SettingsDialog::SaveSettingsFn recorder()
    {
        return [this](const SettingsMembers &s) { saves << Saved{s, members}; };
    }

    SettingsDialog *open() { return SettingsDialog::showSingle(slot, members, recorder()); }

    template <typename T> T *control(QWidget *dialog, const char *name)
    {
        T *w = dialog->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    void closeAndWait()
    {
        if (slot)
            slot->close();
        QTRY_VERIFY(slot.isNull());
    }

private slots:
    void init()
    {
        members = SettingsMembers{1, 0, 48, 1};
        saves.clear();
    }

    void cleanup() { delete slot.data(); }

    void windowAsDesigned()
    {
        SettingsDialog *dlg = open();
        QCOMPARE(dlg->windowTitle(), QStringLiteral("软件设置"));
        QCOMPARE(dlg->size(), QSize(292, 166));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(!(dlg->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(dlg->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(dlg->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!dlg->isModal());

        QCOMPARE(control<QGroupBox>(dlg, "Frame1")->title(), QStringLiteral("软件设置"));
        QCOMPARE(control<QLabel>(dlg, "Label1")->text(), QStringLiteral("存储颜色容器数量："));
        QCOMPARE(control<QCheckBox>(dlg, "Check1")->text(),
                 QStringLiteral("运行结束时自动保存存储颜色"));
        QCOMPARE(control<QCheckBox>(dlg, "Check2")->text(),
                 QStringLiteral("运行时自动加载上次保存的颜色"));
        QCOMPARE(control<QCheckBox>(dlg, "Check3")->text(),
                 QStringLiteral("记住上次保存颜色的最后位置"));
        QCOMPARE(control<QPushButton>(dlg, "Command1")->text(), QStringLiteral("保存设置"));
        QCOMPARE(control<QPushButton>(dlg, "Command2")->text(), QStringLiteral("放弃设置"));
        QCOMPARE(control<QLineEdit>(dlg, "Text1")->parentWidget()->objectName(),
                 QStringLiteral("Frame1"));
        QCOMPARE(control<QPushButton>(dlg, "Command1")->geometry(), QRect(127, 137, 74, 21));
        for (const char *name : {"Command1", "Command2"}) {
            QVERIFY(!control<QPushButton>(dlg, name)->isDefault());
            QVERIFY(!control<QPushButton>(dlg, name)->autoDefault());
        }
    }

    void loadShowsTheMembers_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<bool>("checked");
        QTest::newRow("off") << 0 << false;
        QTest::newRow("on") << 1 << true;
        QTest::newRow("hand-edited 2 reads as off") << 2 << false;
        QTest::newRow("hand-edited -1 reads as off") << -1 << false;
    }

    void loadShowsTheMembers()
    {
        QFETCH(qint32, value);
        QFETCH(bool, checked);
        members = SettingsMembers{value, value, 2, value};
        SettingsDialog *dlg = open();
        QCOMPARE(control<QLineEdit>(dlg, "Text1")->text(), QStringLiteral("2"));
        for (const char *name : {"Check1", "Check2", "Check3"})
            QCOMPARE(control<QCheckBox>(dlg, name)->isChecked(), checked);
    }

    void loadShowsEachSwitchItsOwn()
    {
        members = SettingsMembers{1, 0, 32768, 0};
        SettingsDialog *dlg = open();
        QCOMPARE(control<QLineEdit>(dlg, "Text1")->text(), QStringLiteral("32768"));
        QVERIFY(control<QCheckBox>(dlg, "Check1")->isChecked());
        QVERIFY(!control<QCheckBox>(dlg, "Check2")->isChecked());
        QVERIFY(!control<QCheckBox>(dlg, "Check3")->isChecked());
    }

    void saveSetsMembersAndWritesThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("count");
        QTest::newRow("number") << "30" << 30;
        QTest::newRow("blanks around") << " 30 " << 30;
        QTest::newRow("letters") << "abc" << 65;
        QTest::newRow("empty") << "" << 65;
        QTest::newRow("negative kept") << "-5" << -5;
        QTest::newRow("zero kept") << "0" << 0;
        QTest::newRow("half to even") << "12.5" << 12;
        QTest::newRow("exponent") << "1e2" << 100;
    }

    void saveSetsMembersAndWritesThem()
    {
        QFETCH(QString, text);
        QFETCH(qint32, count);
        members = SettingsMembers{1, 0, 48, 1};
        SettingsDialog *dlg = open();
        control<QLineEdit>(dlg, "Text1")->setText(text);
        control<QCheckBox>(dlg, "Check1")->setChecked(false);
        control<QCheckBox>(dlg, "Check2")->setChecked(true);
        control<QCheckBox>(dlg, "Check3")->setChecked(false);
        QTest::mouseClick(control<QPushButton>(dlg, "Command1"), Qt::LeftButton);

        QCOMPARE(members.lAutoSave, 0);
        QCOMPARE(members.LAutoLoad, 1);
        QCOMPARE(members.lColor, count);
        QCOMPARE(members.lRemenber, 0);
        QCOMPARE(saves.size(), 1);
        const Saved &s = saves.first();
        QCOMPARE(s.values.lAutoSave, 0);
        QCOMPARE(s.values.LAutoLoad, 1);
        QCOMPARE(s.values.lColor, count);
        QCOMPARE(s.values.lRemenber, 0);
        // The members are all set before the file is written.
        QCOMPARE(s.membersAtCall.lColor, count);
        QCOMPARE(s.membersAtCall.lRemenber, 0);
        QTRY_VERIFY(slot.isNull());
    }

    void saveUnchangedStillWrites()
    {
        SettingsDialog *dlg = open();
        QTest::mouseClick(control<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        QCOMPARE(saves.size(), 1);
        QCOMPARE(saves.first().values.lAutoSave, 1);
        QCOMPARE(saves.first().values.LAutoLoad, 0);
        QCOMPARE(saves.first().values.lColor, 48);
        QCOMPARE(saves.first().values.lRemenber, 1);
    }

    void saveTurnsHandEditedSwitchesOff()
    {
        members = SettingsMembers{2, 7, 64, -1};
        SettingsDialog *dlg = open();
        QTest::mouseClick(control<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        QCOMPARE(members.lAutoSave, 0);
        QCOMPARE(members.LAutoLoad, 0);
        QCOMPARE(members.lRemenber, 0);
    }

    void saveWithoutCallbackDoesNotCrash()
    {
        SettingsDialog *dlg = SettingsDialog::showSingle(slot, members, nullptr);
        control<QLineEdit>(dlg, "Text1")->setText("9");
        QTest::mouseClick(control<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        QCOMPARE(members.lColor, 9);
        QTRY_VERIFY(slot.isNull());
    }

    void discardAndCloseBoxChangeNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("discard button") << false;
        QTest::newRow("close box") << true;
    }

    void discardAndCloseBoxChangeNothing()
    {
        QFETCH(bool, closeBox);
        SettingsDialog *dlg = open();
        control<QLineEdit>(dlg, "Text1")->setText("99");
        control<QCheckBox>(dlg, "Check1")->setChecked(false);
        control<QCheckBox>(dlg, "Check2")->setChecked(true);
        control<QCheckBox>(dlg, "Check3")->setChecked(false);
        if (closeBox)
            dlg->close();
        else
            QTest::mouseClick(control<QPushButton>(dlg, "Command2"), Qt::LeftButton);
        QTRY_VERIFY(slot.isNull());

        QCOMPARE(members.lAutoSave, 1);
        QCOMPARE(members.LAutoLoad, 0);
        QCOMPARE(members.lColor, 48);
        QCOMPARE(members.lRemenber, 1);
        QVERIFY(saves.isEmpty());

        SettingsDialog *again = open();
        QCOMPARE(control<QLineEdit>(again, "Text1")->text(), QStringLiteral("48"));
        QVERIFY(control<QCheckBox>(again, "Check1")->isChecked());
        QVERIFY(!control<QCheckBox>(again, "Check2")->isChecked());
        QVERIFY(control<QCheckBox>(again, "Check3")->isChecked());
    }

    void secondOpenKeepsTheEdits()
    {
        SettingsDialog *dlg = open();
        control<QLineEdit>(dlg, "Text1")->setText("77");
        control<QCheckBox>(dlg, "Check2")->setChecked(true);
        members.lColor = 12; // changed behind the dialog's back: not refilled

        SettingsDialog *second = open();
        QCOMPARE(second, dlg);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget *w) { return qobject_cast<SettingsDialog *>(w) != nullptr; }),
                 1);
        QVERIFY(second->isVisible());
        QCOMPARE(control<QLineEdit>(second, "Text1")->text(), QStringLiteral("77"));
        QVERIFY(control<QCheckBox>(second, "Check2")->isChecked());
        QVERIFY(saves.isEmpty());
    }

    void openAfterSaveShowsTheSavedValues()
    {
        SettingsDialog *dlg = open();
        control<QLineEdit>(dlg, "Text1")->setText("abc");
        QTest::mouseClick(control<QPushButton>(dlg, "Command1"), Qt::LeftButton);
        QTRY_VERIFY(slot.isNull());
        SettingsDialog *again = open();
        QCOMPARE(control<QLineEdit>(again, "Text1")->text(), QStringLiteral("65"));
    }

    void tabOrderEndsWithCheck3()
    {
        SettingsDialog *dlg = open();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        control<QLineEdit>(dlg, "Text1")->setFocus();
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
        SettingsDialog *dlg = open();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        for (const char *name : {"Text1", "Command1", "Command2"}) {
            QWidget *w = control<QWidget>(dlg, name);
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Return);
            QTest::keyClick(w, Qt::Key_Enter);
            QTest::keyClick(w, Qt::Key_Escape);
        }
        QVERIFY(!slot.isNull());
        QVERIFY(dlg->isVisible());
        QVERIFY(saves.isEmpty());
    }
};

} // namespace tintavo

QTEST_MAIN(tintavo::SettingsDialogTest)
#include "settings_dialog_test.moc"
