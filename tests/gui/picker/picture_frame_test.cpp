#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "picker/picker_window.h"
#include "png_chunks.h"

#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

using namespace tintavo;

namespace {

// Every pixel its own colour: (x mod 256, y mod 256, 16 · (x / 256) + y / 256).
QColor colorAt(QPoint p)
{
    return QColor(p.x() % 256, p.y() % 256, 16 * (p.x() / 256) + p.y() / 256);
}

QImage picture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, colorAt({x, y}));
    return image;
}

QWindow *frameWindow()
{
    for (QWindow *w : QGuiApplication::topLevelWindows())
        if (w->objectName() == u"PictureFrame" && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

class PictureFrameTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;
    QTemporaryDir dir;

    QString saved(QSize size)
    {
        const QString path =
            dir.filePath(QStringLiteral("%1x%2.png").arg(size.width()).arg(size.height()));
        if (!QFile::exists(path))
            picture(size).save(path);
        return path;
    }

    // Opens `size`'s picture with Ctrl+O and waits for its frame.
    QWindow *open(QSize size)
    {
        f.picturePath = saved(size);
        QTest::keyClick(f.form.get(), Qt::Key_O, Qt::ControlModifier);
        if (!QTest::qWaitFor([] { return frameWindow() && frameWindow()->isExposed(); }, 5000))
            qFatal("no frame: %s", qPrintable(f.messages.shown.join(u'|')));
        return frameWindow();
    }

    void close(QWindow *frame)
    {
        QTest::keyClick(frame, Qt::Key_Escape);
        QTRY_VERIFY(!frameWindow());
        // The picker closed, the main window is back for the next.
        f.form->picker()->close();
        f.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    }

    // What a click at `at` (device pixels) stores.
    QColor clickAt(QWindow *frame, QPoint at)
    {
        const int slot = f.session->colorBox().captureTarget();
        QTest::mouseClick(frame, Qt::LeftButton, {}, at);
        if (!QTest::qWaitFor([&] { return f.session->colorBox().captureTarget() != slot; }))
            return {};
        return toQColor(f.session->colorBox().color(slot));
    }

    void wheel(QWindow *frame, QPoint at, QPoint angle, Qt::KeyboardModifiers modifiers = {})
    {
        QWheelEvent event(at, frame->mapToGlobal(at), {}, angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QGuiApplication::sendEvent(frame, &event);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        f.start();
    }

    // One picture pixel on one device pixel at 100 %: centred on the
    // monitor where the picture is smaller, from its top-left corner where
    // it is larger; the rest of the monitor dark.
    void picturesShowAtOneToOne_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("origin");
        const QSize monitor = QGuiApplication::primaryScreen()->size();
        QTest::newRow("smaller") << QSize(200, 100)
                                 << QPoint((monitor.width() - 200) / 2,
                                           (monitor.height() - 100) / 2);
        QTest::newRow("larger") << monitor + QSize(300, 200) << QPoint(0, 0);
        QTest::newRow("wider") << QSize(monitor.width() + 1, 51)
                               << QPoint(0, (monitor.height() - 51) / 2);
    }
    void picturesShowAtOneToOne()
    {
        QFETCH(QSize, size);
        QFETCH(QPoint, origin);
        QWindow *frame = open(size);
        const QImage shown = frame->screen()->grabWindow(frame->winId()).toImage();
        QCOMPARE(shown.pixelColor(origin), colorAt({0, 0}));
        QCOMPARE(shown.pixelColor(origin + QPoint(7, 3)), colorAt({7, 3}));
        if (origin.x() > 0)
            QCOMPARE(shown.pixelColor(origin - QPoint(1, 0)), QColor(0x2b, 0x2b, 0x2b));
        QCOMPARE(clickAt(frame, origin + QPoint(9, 4)), colorAt({9, 4}));
        close(frame);
    }

    // Picks land on the picture pixel under the pointer whatever the zoom
    // and however the picture was moved; its far corner can be reached.
    void picksFollowZoomAndPan()
    {
        const QSize monitor = QGuiApplication::primaryScreen()->size();
        const QSize size = monitor + QSize(200, 100);
        QWindow *frame = open(size);
        // Moved up a ninth of the monitor's shorter side by a wheel notch.
        wheel(frame, {10, 10}, {0, -120});
        const int down = qRound(std::min(monitor.width(), monitor.height()) / 9.0);
        QCOMPARE(clickAt(frame, {10, 10}), colorAt({10, 10 + down}));
        // The middle button drags it, within reach.
        QTest::mousePress(frame, Qt::MiddleButton, {}, {300, 300});
        QTest::mouseMove(frame, {200, 250});
        QTest::mouseRelease(frame, Qt::MiddleButton, {}, {200, 250});
        QCOMPARE(clickAt(frame, {10, 10}), colorAt({110, 10 + std::min(down + 50, 100)}));
        // Shift+wheel moves it sideways, no further than its right edge.
        for (int i = 0; i < 20; ++i)
            wheel(frame, {10, 10}, {0, -120}, Qt::ShiftModifier);
        const QPoint corner(monitor.width() - 1, monitor.height() - 1);
        wheel(frame, {10, 10}, {0, -2400});
        QCOMPARE(clickAt(frame, corner), colorAt({size.width() - 1, size.height() - 1}));
        // Zoomed in four levels about the pointer (2, 3, 4, 6 times): the
        // pixel under it stays; its neighbours lie six device pixels apart.
        QTest::mouseMove(frame, {400, 300});
        const QColor under = clickAt(frame, {400, 300});
        wheel(frame, {400, 300}, {0, 480}, Qt::ControlModifier);
        QCOMPARE(clickAt(frame, {400, 300}), under);
        const QColor right = clickAt(frame, {406, 300});
        QCOMPARE(right.red(), (under.red() + 1) % 256);
        // And show so: five picture pixels on, 30 device pixels to the right.
        const auto shown = [frame] {
            return frame->screen()->grabWindow(frame->winId()).toImage().pixelColor(430, 300);
        };
        QTRY_COMPARE(shown(), QColor((under.red() + 5) % 256, under.green(), under.blue()));
        // Back to 100 % with Ctrl+0, then out to an eighth with Ctrl+-: the
        // whole picture shows centred.
        QTest::keyClick(frame, Qt::Key_0, Qt::ControlModifier);
        for (int i = 0; i < 8; ++i)
            QTest::keyClick(frame, Qt::Key_Minus, Qt::ControlModifier);
        const QPoint origin(std::floor((monitor.width() - size.width() / 8.0) / 2),
                            std::floor((monitor.height() - size.height() / 8.0) / 2));
        QCOMPARE(clickAt(frame, origin + QPoint(2, 1)), colorAt({16, 8}));
        close(frame);
    }

    // With space held, the left button drags the picture instead of
    // picking; let go, a click picks again where the picture now lies.
    void spaceAndDragPans()
    {
        const QSize monitor = QGuiApplication::primaryScreen()->size();
        QWindow *frame = open(monitor + QSize(200, 100));
        const int slot = f.session->colorBox().captureTarget();
        QTest::keyPress(frame, Qt::Key_Space);
        QTest::mousePress(frame, Qt::LeftButton, {}, {300, 300});
        QTest::mouseMove(frame, {200, 250});
        QTest::mouseRelease(frame, Qt::LeftButton, {}, {200, 250});
        QTest::keyRelease(frame, Qt::Key_Space);
        QCOMPARE(f.session->colorBox().captureTarget(), slot);
        QCOMPARE(clickAt(frame, {10, 10}), colorAt({110, 60}));
        close(frame);
    }

    // A region's read-out stays beside the region as the picture pans.
    void theRegionReadoutFollowsAPan()
    {
        const QSize monitor = QGuiApplication::primaryScreen()->size();
        QWindow *frame = open(monitor + QSize(200, 400));
        QTest::mousePress(frame, Qt::LeftButton, {}, {100, 300});
        QTest::mouseMove(frame, {120, 320});
        QTest::mouseRelease(frame, Qt::LeftButton, {}, {140, 330});
        QWidget *readout = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            readout = w->objectName() == u"regionReadout" ? w : readout;
        QTRY_VERIFY(readout && readout->isVisible());
        const QPoint before = readout->pos();
        wheel(frame, {400, 400}, {0, -120});
        QTRY_VERIFY(readout->pos().y() < before.y());
        QCOMPARE(readout->pos().x(), before.x());
        wheel(frame, {400, 400}, {0, 120});
        QTRY_COMPARE(readout->pos(), before);
        QTest::keyClick(frame, Qt::Key_Escape); // the region
        close(frame);
    }

    // 提取主色 ▸ 5 in the picture's menu writes its main colours into the
    // colour box from the next slot, as one step undone at once, and the
    // label lists them with their shares.
    void mainColorsGoIntoTheColorBox()
    {
        QImage blocks(100, 10, QImage::Format_RGB32);
        blocks.fill(Qt::blue);
        QPainter(&blocks).fillRect(0, 0, 50, 10, Qt::red);
        QPainter(&blocks).fillRect(50, 0, 30, 10, Qt::green);
        f.picturePath = dir.filePath("blocks.png");
        QVERIFY(blocks.save(f.picturePath));
        ColorBoxModel &box = f.session->colorBox();
        const int first = box.captureTarget();
        QTest::keyClick(f.form.get(), Qt::Key_O, Qt::ControlModifier);
        QTRY_VERIFY(frameWindow() && frameWindow()->isExposed());
        QTest::mouseClick(frameWindow(), Qt::RightButton, {}, {5, 5});
        QTRY_VERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()
            ->findChild<QAction *>("menuPictureMainColors5")
            ->trigger();
        QApplication::activePopupWidget()->close();
        QTRY_COMPARE(toQColor(box.color(first + 2)), QColor(Qt::blue));
        QCOMPARE(toQColor(box.color(first)), QColor(Qt::red));
        QCOMPARE(toQColor(box.color(first + 1)), QColor(Qt::green));
        QCOMPARE(toQColor(box.color(first + 3)), QColor(Qt::white));
        const auto said = [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == u"visionLabel" && w->isVisible())
                    return static_cast<QLabel *>(w)->text();
            return QString();
        };
        QTRY_VERIFY2(said().contains("主色：#FF0000 50%  #00FF00 30%  #0000FF 20%"),
                     qPrintable(said()));
        box.undo();
        QCOMPARE(toQColor(box.color(first)), QColor(Qt::white));
        close(frameWindow());
    }

    // The wheel over the picker, and Alt+wheel on the picture, widen the
    // loupe by two cells a notch, kept as LoupeCells; picks stay exact.
    void theWheelZoomsTheLoupe()
    {
        QWindow *frame = open({40, 20});
        const QColor beyond = colorAt({19 + 6, 9 + 6}); // the crosshair starts at (19, 9)
        const auto shown = [frame, beyond] {
            const QImage image = frame->screen()->grabWindow(frame->winId()).toImage();
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    count += image.pixelColor(x, y) == beyond;
            return count;
        };
        QCOMPARE(shown(), 1); // in the picture, not in the loupe's 11 x 11
        QWheelEvent notch({5, 5}, f.form->picker()->mapToGlobal(QPoint(5, 5)), {}, {0, 120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.form->picker(), &notch);
        QTRY_VERIFY(shown() > 1);
        QTRY_VERIFY2(f.readIni().contains("LoupeCells=13\r\n"), f.readIni().constData());
        // Alt+wheel on the picture, where Ctrl+wheel zooms.
        wheel(frame, {5, 5}, {0, 120}, Qt::AltModifier);
        QTRY_VERIFY2(f.readIni().contains("LoupeCells=15\r\n"), f.readIni().constData());
        QTest::keyClick(frame, Qt::Key_Return);
        QTRY_COMPARE(
            toQColor(f.session->colorBox().color(f.session->colorBox().captureTarget() - 1)),
            colorAt({19, 9}));
        close(frame);
    }

    // A picture file dropped on the window, or an image pasted with Ctrl+V,
    // opens as a frame; a file that is no picture is refused with the
    // reader's line, and nothing opens.
    void picturesArriveByDropAndPaste()
    {
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(saved({40, 30}))});
        const QMimeData *mime = &dropped;
        // Over the preview, a text box that takes drops of its own.
        QWidget *preview = test::child<QWidget>(f.form.get(), "effect_text");
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime, Qt::LeftButton, {});
        QApplication::sendEvent(preview, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime, Qt::LeftButton, {});
        QApplication::sendEvent(preview, &drop);
        QTRY_VERIFY2(frameWindow(), qPrintable(f.messages.shown.join(u'|')));
        close(frameWindow());

        // As a browser offers a picture: PNG bytes with the gamma chunk image
        // tools write, which is no profile: the values picked are the file's.
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && picture({30, 20}).save(&buffer, "PNG"));
        auto *pasted = new QMimeData;
        pasted->setData("image/png", test::withChunk(png, "gAMA", test::kExportGamma));
        QApplication::clipboard()->setMimeData(pasted);
        f.form->activateWindow();
        QTest::keyClick(f.form.get(), Qt::Key_V, Qt::ControlModifier);
        QTRY_VERIFY(frameWindow());
        const QSize monitor = frameWindow()->screen()->size();
        const QPoint origin((monitor.width() - 30) / 2, (monitor.height() - 20) / 2);
        QCOMPARE(clickAt(frameWindow(), origin + QPoint(3, 2)), colorAt({3, 2}));
        close(frameWindow());

        const QString notPicture = dir.filePath("notes.png");
        QFile file(notPicture);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
        file.close();
        f.picturePath = notPicture;
        f.messages.shown.clear();
        QTest::keyClick(f.form.get(), Qt::Key_O, Qt::ControlModifier);
        QTRY_COMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown.front().contains(u"notes.png"),
                 qPrintable(f.messages.shown.front()));
        QVERIFY(!frameWindow());
    }
};

QTEST_MAIN(PictureFrameTest)
#include "picture_frame_test.moc"
