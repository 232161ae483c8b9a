#include "about/about_dialog.h"
#include "fake_message_service.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace tintavo {

// The longest horizontal run of pure-blue pixels in the label as drawn: an
// underline of the lit link's colour is a long one, glyph strokes are short.
int longestBlueRun(QLabel *label)
{
    const QImage image = label->grab().toImage();
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = image.pixel(x, y) == qRgb(0, 0, 255) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

bool looksLit(QLabel *link)
{
    return longestBlueRun(link) > link->fontMetrics().horizontalAdvance(link->text()) / 2;
}

class AboutDialogTest : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<test::FakeMessageService> messages;
    std::shared_ptr<test::FakeUrlOpener> urls;
    QPointer<AboutDialog> slot;

    AboutDialog *open()
    {
        AboutDialog *dlg = AboutDialog::showSingle(slot, nullptr, {messages, urls});
        if (!QTest::qWaitForWindowExposed(dlg))
            qFatal("the About dialog was not shown");
        return dlg;
    }

    template <typename T = QLabel> T *control(const QString &name)
    {
        T *w = slot->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    // As the window system moves the pointer: Qt picks the widget under the
    // point, and drops a move to where it last saw the pointer, so the pointer
    // arrives from the pixel beside.
    void moveTo(QPoint pos)
    {
        QTest::mouseMove(slot->windowHandle(), pos + QPoint(1, 0));
        QTest::mouseMove(slot->windowHandle(), pos);
    }
    void moveOnto(const QString &name) { moveTo(control<QWidget>(name)->geometry().center()); }

private slots:
    void init()
    {
        messages = std::make_shared<test::FakeMessageService>();
        urls = std::make_shared<test::FakeUrlOpener>();
    }

    void cleanup() { delete slot.data(); }

    void windowAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << "lblTitle"
                               << "Vantolux!";
        QTest::newRow("version") << "lblVersion"
                                 << "版本：0.76";
        QTest::newRow("web site") << "Label1"
                                  << "网站：www.kelmira.example";
        QTest::newRow("feedback") << "Label3"
                                  << "如果您对此软件有任何改进的建议或意见，请在我的论坛里提出：";
        QTest::newRow("forum") << "Label4"
                               << "http://bbs.kelmira.example/\nforum-12-1.html";
        QTest::newRow("ok") << "cmdOK"
                            << "确 定(&O)";
        QTest::newRow("system information") << "cmdSysInfo"
                                            << "系统信息(&S)...";
    }

    void windowAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        AboutDialog *dlg = open();
        QCOMPARE(dlg->windowTitle(), QStringLiteral("关于[Kelmira]"));
        QCOMPARE(dlg->geometry(), QRect(156, 129, 390, 263));
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(
            !(dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(control<QWidget>(name)->property("text").toString(), text);
    }

    void tabOrderStartsAtTheButtons()
    {
        QVERIFY(QTest::qWaitForWindowActive(open()));
        QCOMPARE(QApplication::focusWidget(), control<QWidget>("cmdOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>("cmdSysInfo"));
    }

    void linkStaysLitUntilTheBareArea_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("other");
        QTest::newRow("web site, then contact") << "Label1"
                                                << "Label2";
        QTest::newRow("web site, then OK") << "Label1"
                                           << "cmdOK";
        QTest::newRow("forum, then logo") << "Label4"
                                          << "Image1";
    }

    void linkStaysLitUntilTheBareArea()
    {
        QFETCH(QString, link);
        QFETCH(QString, other);
        open();
        QVERIFY(!looksLit(control("Label1")) && !looksLit(control("Label4")));
        QCOMPARE(control(link)->cursor().shape(), Qt::PointingHandCursor);
        moveOnto(link);
        QVERIFY(looksLit(control(link)));
        moveOnto(other);
        QVERIFY(looksLit(control(link)));
        moveOnto(link == "Label1" ? "Label4" : "Label1");
        moveTo(QPoint(100, 197)); // the drawn separator is bare area too
        QVERIFY(!looksLit(control("Label1")) && !looksLit(control("Label4")));
    }

    void clicksOpenTheAddresses()
    {
        open();
        QTest::mouseClick(control("Label1"), Qt::LeftButton);
        QTest::mouseClick(control("Label4"), Qt::LeftButton);
        QTest::mouseClick(control("Label2"), Qt::LeftButton);
        QTest::mouseClick(control("Label1"), Qt::RightButton);
        QTest::mousePress(control("Label1"), Qt::LeftButton);
        QTest::mouseRelease(control("Label1"), Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(urls->opened, (QStringList{"http://www.kelmira.example/",
                                            "http://bbs.kelmira.example/forum-12-1.html"}));
        QVERIFY(slot->isVisible());
    }

    void closes_data()
    {
        QTest::addColumn<int>("key"); // 0: click OK, -1: the close box
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("escape") << int(Qt::Key_Escape);
        QTest::newRow("OK") << 0;
        QTest::newRow("close box") << -1;
    }

    void closes()
    {
        QFETCH(int, key);
        QVERIFY(QTest::qWaitForWindowActive(open()));
        if (key > 0)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        else if (key == 0)
            QTest::mouseClick(control<QWidget>("cmdOK"), Qt::LeftButton);
        else
            slot->close();
        QTRY_VERIFY(slot.isNull());
        QVERIFY(messages->notices.isEmpty());
    }

    void secondOpenIsTheSameDialog()
    {
        AboutDialog *first = open();
        QCOMPARE(open(), first);
    }

    // Programs on a PATH of the test's own: a working one writes its name
    // into a file; a broken one names an interpreter that does not exist.
    void systemInformation_data()
    {
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("started");
        QTest::newRow("none installed") << QStringList{} << "";
        QTest::newRow("first in order wins")
            << QStringList{"lxtask", "kinfocenter"} << "kinfocenter";
        QTest::newRow("last in order") << QStringList{"lxtask"} << "lxtask";
        QTest::newRow("first found fails to start")
            << QStringList{"broken:hardinfo", "lxtask"} << "";
    }

    void systemInformation()
    {
        QFETCH(QStringList, programs);
        QFETCH(QString, started);
        QTemporaryDir bin;
        const QString mark = bin.filePath("started");
        for (QString name : programs) {
            const bool broken = name.startsWith("broken:");
            name.remove("broken:");
            QFile script(bin.filePath(name));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(broken ? "#!/nonexistent/sh\n"
                                : "#!/bin/sh\necho -n " + name.toUtf8() + " > '" + mark.toUtf8() +
                                      "'\n");
            script.setPermissions(script.permissions() | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        open();
        QTest::mouseClick(control<QWidget>("cmdSysInfo"), Qt::LeftButton);
        qputenv("PATH", path);
        const auto startedName = [&] {
            QFile file(mark);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QCOMPARE(messages->notices,
                 started.isEmpty() ? QStringList{"此时系统信息不可用"} : QStringList{});
        if (started.isEmpty())
            QTest::qWait(200);
        QTRY_COMPARE(startedName(), started);
        QVERIFY(slot->isVisible());
    }

    void systemInformationNoticeIsAPlainBox()
    {
        // The real box, answered from a timer once it is up.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "/nonexistent");
        AboutDialog::showSingle(slot, nullptr, {nullptr, urls});
        QString seen;
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                answer.stop();
                seen = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon()) +
                       "|" + QString::number(box->buttons().size());
                box->button(QMessageBox::Ok)->click();
            }
        });
        answer.start();
        QTest::mouseClick(control<QWidget>("cmdSysInfo"), Qt::LeftButton);
        qputenv("PATH", path);
        QCOMPARE(seen, QStringLiteral("Tintavo|此时系统信息不可用|0|1"));
        QVERIFY(slot->isVisible());
    }
};

} // namespace tintavo

QTEST_MAIN(tintavo::AboutDialogTest)
#include "about_dialog_test.moc"
