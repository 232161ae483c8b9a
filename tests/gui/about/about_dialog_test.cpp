#include "about/about_dialog.h"
#include "about/about_logo.h"
#include "main_window_fixture.h"

#include <QDir>
#include <QLabel>
#include <QWindow>

using namespace Qt::StringLiterals;
using namespace tintavo;
using test::child;

class AboutDialogTest : public QObject
{
    Q_OBJECT

    std::shared_ptr<test::FakeMessageService> messages;
    std::shared_ptr<test::FakeUrlOpener> urls;
    QPointer<AboutDialog> slot;

    AboutDialog *open(bool realBoxes = false)
    {
        AboutDialog::showSingle(slot, nullptr, {realBoxes ? nullptr : messages, urls});
        if (!QTest::qWaitForWindowActive(slot))
            qFatal("the About dialog was not shown");
        return slot;
    }

    bool lit(const QString &name) { return test::linkLit(child<QLabel>(slot, name)); }

    // As the window system moves the pointer onto a control (or a point): Qt
    // drops a move to where it last saw the pointer, so it comes from beside.
    void moveTo(const QString &name, QPoint at = {})
    {
        at = name.isEmpty() ? at : child<QWidget>(slot, name)->geometry().center();
        QTest::mouseMove(slot->windowHandle(), at + QPoint(1, 0));
        QTest::mouseMove(slot->windowHandle(), at);
    }

    // Starts the system information with only `programs` in `bin` on the PATH:
    // a working one leaves "<name>.started" there, a "broken:" one names an
    // interpreter that does not exist.
    void startSystemInfo(const QStringList &programs, const QTemporaryDir &bin)
    {
        for (QString name : programs) {
            const bool broken = name.startsWith("broken:");
            QFile script(bin.filePath(name.remove("broken:")));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(broken ? "#!/nonexistent/sh\n" : "#!/bin/sh\n: > \"$0.started\"\n");
            script.setPermissions(script.permissions() | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        QTest::mouseClick(child<QPushButton>(open(true), "cmdSysInfo"), Qt::LeftButton);
        qputenv("PATH", path);
    }

private slots:
    void init()
    {
        setUpApplicationLook(*qApp);
        messages = std::make_shared<test::FakeMessageService>();
        urls = std::make_shared<test::FakeUrlOpener>();
    }

    void cleanup() { delete slot.data(); }

    // The title bar shows the program's icon, not the banner squashed; at
    // scale 2 the logo is drawn with twice the pixels, its edges sharper than
    // the picture of scale 1 blown up.
    void iconAndLogoAtEveryScale()
    {
        const AboutDialog *dlg = open();
        const QImage icon = dlg->windowIcon().pixmap(32).toImage().convertToFormat(
            QImage::Format_ARGB32);
        const QImage installed = QImage(TINTAVO_ICON_DIR "/32.png").convertToFormat(
            QImage::Format_ARGB32);
        QCOMPARE(icon.size(), installed.size());
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb a = icon.pixel(x, y), b = installed.pixel(x, y);
                for (const int shift : {0, 8, 16, 24}) // the PNG's rounding
                    QVERIFY2(std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) <= 2,
                             qPrintable(u"(%1, %2)"_s.arg(x).arg(y)));
            }
        const QImage sharp = makeAboutLogo(2).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(sharp.size(), QSize(300, 364));
        const QImage blown =
            makeAboutLogo(1)
                .toImage()
                .convertToFormat(QImage::Format_RGB32)
                .scaled(sharp.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // Steps between neighbours: a blown-up picture smooths every edge.
        const auto steep = [](const QImage &image) {
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 1; x < image.width(); ++x)
                    count += qAbs(qGray(image.pixel(x, y)) - qGray(image.pixel(x - 1, y))) > 96;
            return count;
        };
        QVERIFY2(steep(sharp) > steep(blown) * 3 / 2,
                 qPrintable(QString::number(steep(sharp)) + u' ' + QString::number(steep(blown))));
    }

    // Its texts (its size is checked on a real X server), at a size the user
    // cannot change; the focus starts on OK and Tab goes on to the system
    // information; a second open brings the same dialog. A link lights under
    // the pointer and stays lit over other controls until the pointer reaches
    // the bare area; only a whole left click on it opens its address.
    void windowLinksAndClosing()
    {
        AboutDialog *dlg = open();
        QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
        QVERIFY(
            !(dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QStringList texts{dlg->windowTitle()};
        for (const char *name :
             {"lblTitle", "lblVersion", "Label1", "Label3", "Label4", "cmdOK", "cmdSysInfo"})
            texts << child<QWidget>(dlg, name)->property("text").toString();
        QCOMPARE(texts.join(u'|'), "关于[Kelmira]|Vantolux!|版本：0.76|网站：www.kelmira.example|"
                                   "如果您对此软件有任何改进的建议或意见，请在我的论坛里提出：|"
                                   "http://bbs.kelmira.example/\nforum-12-1.html|确 定(&O)|"
                                   "系统信息(&S)...");
        QCOMPARE(test::tabChain(QApplication::focusWidget()), "cmdOK cmdSysInfo cmdOK");
        QCOMPARE(open(), dlg);

        for (const auto &[link, other, next] :
             {std::tuple{"Label1", "cmdOK", "Label4"}, {"Label4", "Image1", "Label1"}}) {
            QVERIFY(!lit("Label1") && !lit("Label4"));
            QCOMPARE(child<QLabel>(slot, link)->cursor().shape(), Qt::PointingHandCursor);
            moveTo(link);
            QVERIFY2(lit(link), link);
            moveTo(other);
            QVERIFY2(lit(link), other);
            moveTo(next);
            moveTo({}, QPoint(100, 197)); // the drawn separator is bare area too
        }
        QVERIFY(!lit("Label1") && !lit("Label4"));

        for (const char *name : {"Label1", "Label4", "Label2"}) // the contact line is no link
            QTest::mouseClick(child<QLabel>(slot, name), Qt::LeftButton);
        QTest::mouseClick(child<QLabel>(slot, "Label1"), Qt::RightButton);
        QTest::mousePress(child<QLabel>(slot, "Label1"), Qt::LeftButton);
        QTest::mouseRelease(child<QLabel>(slot, "Label1"), Qt::LeftButton, {}, QPoint(-20, -20));
        QCOMPARE(urls->opened, (QStringList{"http://www.kelmira.example/",
                                            "http://bbs.kelmira.example/forum-12-1.html"}));
        QVERIFY(slot->isVisible());

        // Return, Esc, OK and the close box each close it, quietly.
        for (int way = 0; way < 4; ++way) {
            open();
            if (way < 2)
                QTest::keyClick(QApplication::focusWidget(), way ? Qt::Key_Escape : Qt::Key_Return);
            else if (way == 2)
                QTest::mouseClick(child<QPushButton>(slot, "cmdOK"), Qt::LeftButton);
            else
                slot->close();
            QTRY_VERIFY2(slot.isNull(), qPrintable(QString::number(way)));
        }
        QVERIFY(messages->notices.isEmpty());
    }

    // The first of the known tools found on the PATH is started; when none
    // can be, the program's plain box says so: its name as title, no icon,
    // OK. The dialog stays open either way.
    void systemInformation_data()
    {
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("started");
        QTest::newRow("none installed") << QStringList{} << "";
        QTest::newRow("first wins")
            << QStringList{"lxtask", "kinfocenter"} << "kinfocenter.started";
        QTest::newRow("first found fails") << QStringList{"broken:hardinfo", "lxtask"} << "";
    }

    void systemInformation()
    {
        QFETCH(QStringList, programs);
        QFETCH(QString, started);
        const QTemporaryDir bin;
        QString seen;
        if (started.isEmpty())
            test::answerBox([&] { startSystemInfo(programs, bin); },
                            [&](QMessageBox *box) {
                                seen = u"%1|%2|%3|%4"_s.arg(box->windowTitle(), box->text())
                                           .arg(box->icon())
                                           .arg(box->buttons().size());
                            });
        else
            startSystemInfo(programs, bin);
        QCOMPARE(seen, started.isEmpty() ? "Tintavo|此时系统信息不可用|0|1" : "");
        QTest::qWait(started.isEmpty() ? 200 : 0);
        QTRY_COMPARE(QDir(bin.path()).entryList({"*.started"}).join(u' '), started);
        QVERIFY(slot->isVisible());
    }
};

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"
