// The About dialog under a real X server and window manager: where the window
// manager puts it, and how it answers the real pointer (warped with
// QCursor::setPos, so the X server itself reports the motion).

#include "about/about_dialog.h"
#include "fake_message_service.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QThread>
#include <QWindow>
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
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    static const char kName[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kName - 1, kName), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    bool running = false;
    for (int i = 0; atom && !running && i < 200; ++i) {
        if (i > 0)
            QThread::msleep(100);
        xcb_get_property_reply_t *property = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
        running = property && xcb_get_property_value_length(property) > 0;
        free(property);
    }
    free(atom);
    xcb_disconnect(c);
    return running;
}

// Records where the X server reported pointer motion over a window.
class MotionWatch : public QObject
{
public:
    explicit MotionWatch(QWindow *window) : window_(window) { window->installEventFilter(this); }
    ~MotionWatch() override
    {
        if (window_)
            window_->removeEventFilter(this);
    }

    bool sawAt(QPoint pos) const { return seen_.contains(pos); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            seen_ << static_cast<QMouseEvent *>(event)->position().toPoint();
        return false;
    }

private:
    QPointer<QWindow> window_;
    QList<QPoint> seen_;
};

class AboutOnX11Test : public QObject
{
    Q_OBJECT

private:
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

    static QLabel *label(QWidget *dlg, const char *name)
    {
        return dlg->findChild<QLabel *>(QLatin1String(name));
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

    static void pointAt(QWidget *w, QPoint pos) { QCursor::setPos(w->mapToGlobal(pos)); }

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

    void realPointerLightsAndDimsTheLinks()
    {
        AboutDialog *dlg = open();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
        QLabel *Label1 = label(dlg, "Label1");
        QLabel *Label2 = label(dlg, "Label2");

        pointAt(dlg, Label1->geometry().center());
        QTRY_VERIFY(lit(Label1));

        MotionWatch watch(dlg->windowHandle());
        pointAt(dlg, Label2->geometry().center());
        QTRY_VERIFY(watch.sawAt(Label2->geometry().center()));
        QVERIFY(lit(Label1));

        pointAt(dlg, QPoint(2, 2));
        QTRY_VERIFY(!lit(Label1));
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
    if (!std::getenv("DISPLAY"))
        return 77; // no X server: skipped
    if (!tintavo::waitForWindowManager())
        return 77; // no window manager: skipped
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tintavo::AboutOnX11Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_on_x11_test.moc"
