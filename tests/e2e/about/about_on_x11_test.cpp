// The About dialog under a real X server and window manager: where the window
// manager puts it, and how it answers the real pointer (warped with
// QCursor::setPos, so the X server itself reports the motion).
#include "about/about_dialog.h"
#include "common/app_look.h"
#include "fake_message_service.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QTest>
#include <QThread>
#include <cstdlib>
#include <xcb/xcb.h>

namespace tintavo {

// Waits (up to 20 s) until a window manager announces itself on the root
// window. Qt reads what the window manager supports when it connects, and
// windows mapped while one is still starting can be left unexposed, so this
// runs before the application object exists.
bool waitForWindowManager()
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    static const char kName[] = "_NET_SUPPORTING_WM_CHECK";
    auto *atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kName - 1, kName), nullptr);
    bool running = false;
    for (int i = 0; atom && !running && i < 200; QThread::msleep(100), ++i) {
        auto *property = xcb_get_property_reply(
            c,
            xcb_get_property(c, 0, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root,
                             atom->atom, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        running = property && xcb_get_property_value_length(property) > 0;
        free(property);
    }
    free(atom);
    xcb_disconnect(c);
    return running;
}

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

    // Lit: the link's underline drawn in blue, a long run of blue pixels.
    static bool lit(QLabel *l)
    {
        const QImage image = l->grab().toImage();
        int longest = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0, run = 0; x < image.width(); ++x)
                longest =
                    std::max(longest, run = image.pixel(x, y) == qRgb(0, 0, 255) ? run + 1 : 0);
        return longest > l->fontMetrics().horizontalAdvance(l->text()) / 2;
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
        QTRY_VERIFY(lit(link));
        QCursor::setPos(dlg->mapToGlobal(QPoint(2, 2)));
        QTRY_VERIFY(!lit(link));
    }
};

} // namespace tintavo

// The xcb platform's D-Bus library keeps a buffer until the process ends;
// LeakSanitizer (sanitizer builds) is told so rather than failing the run.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}

int main(int argc, char *argv[])
{
    if (!std::getenv("DISPLAY") || !tintavo::waitForWindowManager())
        return 77; // no X server or window manager: skipped
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tintavo::setUpApplicationLook(app);
    tintavo::AboutOnX11Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_on_x11_test.moc"
