#include "about/about_dialog.h"
#include "fake_about_services.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace tintavo {

using test::FakeNoticeService;
using test::FakeProcessLauncher;
using test::FakeRegistry;
using test::FakeUrlOpener;

class AboutDialogTest : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<FakeRegistry> registry;
    std::shared_ptr<FakeProcessLauncher> launcher;
    std::shared_ptr<FakeUrlOpener> urls;
    std::shared_ptr<FakeNoticeService> notices;
    QStringList existingFiles;
    QPointer<AboutDialog> slot;

    AboutServices services()
    {
        return {registry, launcher, urls, notices,
                [this](const QString &path) { return existingFiles.contains(path); }};
    }

    AboutDialog *open() { return AboutDialog::showSingle(slot, nullptr, services()); }

    AboutDialog *openExposed()
    {
        AboutDialog *dlg = open();
        if (!QTest::qWaitForWindowExposed(dlg))
            qFatal("the About dialog was not shown");
        return dlg;
    }

    template <typename T = QWidget> T *control(QWidget *dialog, const char *name)
    {
        T *w = dialog->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    // Moves the pointer as the window system would: the event goes to the
    // window and Qt picks the widget under the point. Qt drops a move to the
    // position it last saw, which an earlier test may have left there, so the
    // pointer arrives from the pixel beside the target.
    void moveOver(AboutDialog *dlg, QPoint pos)
    {
        QTest::mouseMove(dlg->windowHandle(), pos + QPoint(1, 0));
        QTest::mouseMove(dlg->windowHandle(), pos);
    }

    void moveOver(AboutDialog *dlg, const char *name)
    {
        moveOver(dlg, control(dlg, name)->geometry().center());
    }

    static QPoint bareSpot(AboutDialog *dlg)
    {
        const QPoint spot(2, 2);
        if (dlg->childAt(spot))
            qFatal("the chosen spot is not bare");
        return spot;
    }

    static bool lit(QLabel *label)
    {
        return label->palette().color(QPalette::WindowText) == QColor(0, 0, 255) &&
               label->font().underline();
    }

    static bool plainBlack(QLabel *label)
    {
        return label->palette().color(QPalette::WindowText) == QColor(0, 0, 0) &&
               !label->font().underline();
    }

private slots:
    void init()
    {
        registry = std::make_shared<FakeRegistry>();
        launcher = std::make_shared<FakeProcessLauncher>();
        urls = std::make_shared<FakeUrlOpener>();
        notices = std::make_shared<FakeNoticeService>();
        existingFiles.clear();
    }

    void cleanup() { delete slot.data(); }

    void windowAsDesigned()
    {
        AboutDialog *dlg = open();
        QCOMPARE(dlg->windowTitle(), QStringLiteral("关于[Kelmira]"));
        QCOMPARE(dlg->geometry(), QRect(156, 129, 390, 263));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(!(dlg->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(dlg->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(dlg->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!dlg->isModal());
    }

    void textsAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << "lblTitle"
                               << "Vantolux!";
        QTest::newRow("version") << "lblVersion"
                                 << "版本：0.76";
        QTest::newRow("feedback") << "Label3"
                                  << "如果您对此软件有任何改进的建议或意见，请在我的论坛里提出：";
        QTest::newRow("ok") << "cmdOK"
                            << "确 定(&O)";
        QTest::newRow("system information") << "cmdSysInfo"
                                            << "系统信息(&S)...";
    }

    void textsAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        AboutDialog *dlg = open();
        QWidget *w = control(dlg, name.toLatin1().constData());
        if (auto *label = qobject_cast<QLabel *>(w))
            QCOMPARE(label->text(), text);
        else
            QCOMPARE(qobject_cast<QPushButton *>(w)->text(), text);
    }

    void contentsOfTheMakersLines()
    {
        AboutDialog *dlg = open();
        QVERIFY(control<QLabel>(dlg, "Label1")->text().startsWith(QStringLiteral("网站：")));
        QVERIFY(AboutDialog::kWebSiteUrl.contains(control<QLabel>(dlg, "Label1")->text().mid(3)));
        // The forum address is shown on two lines and opened whole.
        const QString forum = control<QLabel>(dlg, "Label4")->text();
        QCOMPARE(forum.count(u'\n'), 1);
        QCOMPARE(QString(forum).remove(u'\n'), AboutDialog::kForumUrl);
        QVERIFY(!control<QLabel>(dlg, "Label2")->text().isEmpty());
        QVERIFY(!control<QLabel>(dlg, "lblDescription")->text().isEmpty());

        auto *disclaimer = control<QLabel>(dlg, "lblDisclaimer");
        QVERIFY(disclaimer->text().contains(QStringLiteral("免费")));
        QCOMPARE(disclaimer->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        QVERIFY(disclaimer->wordWrap());
        QVERIFY(control<QLabel>(dlg, "Label3")->wordWrap());

        const QPixmap logo = control<QLabel>(dlg, "Image1")->pixmap();
        QCOMPARE(logo.size(), QSize(150, 182));
        QCOMPARE(control(dlg, "Image1")->geometry(), QRect(14, 4, 152, 189));
    }

    void tabOrderStartsAtTheButtons()
    {
        AboutDialog *dlg = open();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QCOMPARE(QApplication::focusWidget(), control(dlg, "cmdOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(dlg, "cmdSysInfo"));
    }

    void linksStartPlainAndShowAHand()
    {
        AboutDialog *dlg = open();
        const QColor normal = QLabel().palette().color(QPalette::WindowText);
        for (const char *name : {"Label1", "Label4"}) {
            auto *link = control<QLabel>(dlg, name);
            QCOMPARE(link->palette().color(QPalette::WindowText), normal);
            QVERIFY(!link->font().underline());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        }
    }

    void linkStaysLitUntilTheBareArea_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("other");
        QTest::newRow("web site, then contact") << "Label1"
                                                << "Label2";
        QTest::newRow("web site, then logo") << "Label1"
                                             << "Image1";
        QTest::newRow("web site, then OK") << "Label1"
                                           << "cmdOK";
        QTest::newRow("forum, then feedback") << "Label4"
                                              << "Label3";
        QTest::newRow("forum, then disclaimer") << "Label4"
                                                << "lblDisclaimer";
    }

    void linkStaysLitUntilTheBareArea()
    {
        QFETCH(QString, link);
        QFETCH(QString, other);
        AboutDialog *dlg = openExposed();
        auto *label = control<QLabel>(dlg, link.toLatin1().constData());
        auto *otherLink =
            control<QLabel>(dlg, link == QLatin1String("Label1") ? "Label4" : "Label1");

        moveOver(dlg, link.toLatin1().constData());
        QVERIFY(lit(label));
        QVERIFY(!lit(otherLink));

        moveOver(dlg, other.toLatin1().constData());
        QVERIFY(lit(label));

        moveOver(dlg, bareSpot(dlg));
        QVERIFY(plainBlack(label));
        QVERIFY(plainBlack(otherLink));
    }

    void bothLinksCanBeLitAtOnce()
    {
        AboutDialog *dlg = openExposed();
        moveOver(dlg, "Label1");
        moveOver(dlg, "Label4");
        QVERIFY(lit(control<QLabel>(dlg, "Label1")));
        QVERIFY(lit(control<QLabel>(dlg, "Label4")));
        // The drawn separator line is part of the bare area.
        moveOver(dlg, QPoint(100, 197));
        QVERIFY(dlg->childAt(QPoint(100, 197)) == nullptr);
        QVERIFY(plainBlack(control<QLabel>(dlg, "Label1")));
        QVERIFY(plainBlack(control<QLabel>(dlg, "Label4")));
    }

    void linkColoursStartAfreshOnReopening()
    {
        AboutDialog *dlg = openExposed();
        moveOver(dlg, "Label1");
        QVERIFY(lit(control<QLabel>(dlg, "Label1")));
        dlg->close();
        QTRY_VERIFY(slot.isNull());
        AboutDialog *again = open();
        QVERIFY(!control<QLabel>(again, "Label1")->font().underline());
    }

    void clicksOpenTheAddresses()
    {
        AboutDialog *dlg = openExposed();
        QTest::mouseClick(control(dlg, "Label1"), Qt::LeftButton);
        QTest::mouseClick(control(dlg, "Label4"), Qt::LeftButton);
        QTest::mouseClick(control(dlg, "Label2"), Qt::LeftButton);
        QTest::mouseClick(control(dlg, "Label1"), Qt::RightButton);
        QCOMPARE(urls->opened, (QStringList{AboutDialog::kWebSiteUrl, AboutDialog::kForumUrl}));
        QVERIFY(dlg->isVisible());
    }

    void pressOnOneLinkReleaseElsewhereOpensNothing()
    {
        AboutDialog *dlg = openExposed();
        QWidget *link = control(dlg, "Label1");
        QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
        QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-20, -20));
        QVERIFY(urls->opened.isEmpty());
    }

    void enterAndEscClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("keypad enter") << int(Qt::Key_Enter);
        QTest::newRow("escape") << int(Qt::Key_Escape);
    }

    void enterAndEscClose()
    {
        QFETCH(int, key);
        AboutDialog *dlg = open();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(slot.isNull());
    }

    void escClosesWithFocusOnTheOtherButton()
    {
        AboutDialog *dlg = open();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        control(dlg, "cmdSysInfo")->setFocus();
        QTest::keyClick(control(dlg, "cmdSysInfo"), Qt::Key_Escape);
        QTRY_VERIFY(slot.isNull());
        QVERIFY(notices->shown.isEmpty());
    }

    void okButtonAndCloseBoxClose()
    {
        AboutDialog *dlg = open();
        QTest::mouseClick(control(dlg, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(slot.isNull());
        open()->close();
        QTRY_VERIFY(slot.isNull());
    }

    void secondOpenIsTheSameDialog()
    {
        AboutDialog *first = openExposed();
        moveOver(first, "Label1");
        AboutDialog *second = open();
        QCOMPARE(second, first);
        QVERIFY(lit(control<QLabel>(second, "Label1")));
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget *w) { return qobject_cast<AboutDialog *>(w) != nullptr; }),
                 1);
    }

    void sysInfoUnavailableShowsTheNotice()
    {
        AboutDialog *dlg = open();
        QTest::mouseClick(control(dlg, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(notices->shown, QStringList{QStringLiteral("此时系统信息不可用")});
        QVERIFY(launcher->started.isEmpty());
        QVERIFY(dlg->isVisible());
    }

    void sysInfoNoticeIsAPlainBox()
    {
        // The real notice: a modal box, answered from a timer once it is up.
        AboutServices real = services();
        real.notices.reset();
        AboutDialog *dlg = AboutDialog::showSingle(slot, nullptr, real);
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QList<QAbstractButton *> buttons;
        QTimer answer; // keeps looking until the box is up
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            answer.stop();
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->buttons();
            box->button(QMessageBox::Ok)->click();
        });
        answer.start();
        QTest::mouseClick(control(dlg, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Tintavo"));
        QCOMPARE(text, QStringLiteral("此时系统信息不可用"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons.size(), 1);
        QVERIFY(dlg->isVisible());
    }

    void sysInfoStartsTheRegisteredTool()
    {
        registry->setValue(kHKeyLocalMachine, kSysInfoPathKey, kSysInfoPathValue,
                           FakeRegistry::string("/usr/bin/hardinfo"));
        AboutDialog *dlg = open();
        QTest::mouseClick(control(dlg, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(launcher->started, QStringList{QStringLiteral("/usr/bin/hardinfo")});
        QVERIFY(notices->shown.isEmpty());
    }

    void sysInfoFromTheDirectoryRule()
    {
        registry->setValue(kHKeyLocalMachine, kSysInfoDirKey, kSysInfoDirValue,
                           FakeRegistry::string("C:\\Info"));
        existingFiles << QStringLiteral("C:\\Info\\MSINFO32.EXE");
        AboutDialog *dlg = open();
        QTest::mouseClick(control(dlg, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(launcher->started, QStringList{QStringLiteral("C:\\Info\\MSINFO32.EXE")});
    }
};

} // namespace tintavo

QTEST_MAIN(tintavo::AboutDialogTest)
#include "about_dialog_test.moc"
