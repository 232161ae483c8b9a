// The About dialog under a real X server and window manager: where the window
// manager puts it, and how it answers the real pointer (warped with
// QCursor::setPos, so the X server itself reports the motion).
#include "about/about_dialog.h"
#include "common/app_look.h"
#include "main_window_fixture.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QTest>
#include <cstdlib>

namespace tintavo {

class AboutOnX11Test : public QObject
{
    Q_OBJECT

    QPointer<AboutDialog> slot;

    AboutDialog *open(QWidget *parent = nullptr)
    {
        AboutDialog *dlg = AboutDialog::showSingle(slot, parent,
                                                   {std::make_shared<test::FakeMessageService>(),
                                                    std::make_shared<test::FakeUrlOpener>()});
        if (!QTest::qWaitForWindowExposed(dlg))
            qFatal("the About dialog was not shown");
        return dlg;
    }

private slots:
    void cleanup() { delete slot.data(); }

    void clientAreaAtItsDesignedPlace()
    {
        // Not centred over the main window, which is elsewhere.
        QWidget mainWindow;
        mainWindow.setGeometry(500, 400, 600, 400);
        mainWindow.show();
        AboutDialog *dlg = open(&mainWindow);
        QTRY_COMPARE(dlg->geometry().topLeft(), QPoint(156, 129));
        QCOMPARE(dlg->size(), QSize(390, 263));
    }

    void realPointerLightsAndDimsTheLink()
    {
        AboutDialog *dlg = open();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        auto *link = dlg->findChild<QLabel *>(QStringLiteral("Label1"));
        QCursor::setPos(dlg->mapToGlobal(link->geometry().center()));
        QTRY_VERIFY(test::linkLit(link));
        QCursor::setPos(dlg->mapToGlobal(QPoint(2, 2)));
        QTRY_VERIFY(!test::linkLit(link));
    }
};

} // namespace tintavo

int main(int argc, char *argv[])
{
    // The test command starts the X server and waits for its window manager.
    if (!std::getenv("DISPLAY"))
        return 77; // no X server: skipped
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tintavo::setUpApplicationLook(app);
    tintavo::AboutOnX11Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_on_x11_test.moc"
