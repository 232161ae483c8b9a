#include "colorbox/color_box_model.h"
#include "colorbox/swatch_menu.h"
#include "colorbox/swatch_view.h"
#include "common/twips.h"

#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace tintavo;

namespace {

// Frame3 as laid out at the design size: 11235 × 945 twips.
constexpr int kFrameWidth = 11235 / kTwipsPerPixel; // 749
constexpr int kFrameHeight = 945 / kTwipsPerPixel;  // 63

// The centre of swatch `col`, `row` of the grid, in view pixels.
QPoint centreOf(int col, int row)
{
    return QPoint(8 + 16 * col + 8, 13 + 16 * row + 8);
}

QRgb rgbOf(ColorValue c)
{
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

struct Box
{
    explicit Box(int count, bool arrange = true)
    {
        frame.setObjectName(QStringLiteral("Frame3"));
        frame.setGeometry(7, 410, kFrameWidth, kFrameHeight);
        model.AddPics(count - 1);
        if (arrange)
            model.OrderPic(11235);
        view = new SwatchView(&model, &frame);
    }
    QGroupBox frame{QStringLiteral("储存颜色")};
    ColorBoxModel model;
    SwatchView *view = nullptr;
};

} // namespace

class SwatchViewTest : public QObject
{
    Q_OBJECT

private slots:
    void coversTheFrameAndFollowsIt()
    {
        Box box(64);
        QCOMPARE(box.view->objectName(), QStringLiteral("Picture1"));
        QCOMPARE(box.view->geometry(), box.frame.rect());
        // A hidden frame's resize reaches the view when the frame is shown.
        box.frame.resize(500, 70);
        box.frame.show();
        QCOMPARE(box.view->geometry(), QRect(0, 0, 500, 70));
        box.frame.resize(400, 80);
        QCOMPARE(box.view->geometry(), QRect(0, 0, 400, 80));
    }

    void pressMapsToSwatch_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<int>("index");
        QTest::newRow("swatch 0 top-left pixel") << QPoint(8, 13) << 0;
        QTest::newRow("swatch 0 bottom-right pixel") << QPoint(23, 28) << 0;
        QTest::newRow("swatch 1 first pixel") << QPoint(24, 13) << 1;
        QTest::newRow("swatch 5") << centreOf(5, 0) << 5;
        QTest::newRow("swatch 45, end of row 0") << centreOf(45, 0) << 45;
        QTest::newRow("swatch 46, start of row 1") << centreOf(0, 1) << 46;
        QTest::newRow("swatch 63, last") << centreOf(17, 1) << 63;
        QTest::newRow("past the last swatch") << centreOf(18, 1) << -1;
        QTest::newRow("row 2 is empty") << centreOf(0, 2) << -1;
        QTest::newRow("left margin") << QPoint(7, 20) << -1;
        QTest::newRow("above the grid") << QPoint(30, 12) << -1;
        QTest::newRow("right of the last column") << QPoint(8 + 16 * 46 + 1, 20) << -1;
    }
    void pressMapsToSwatch()
    {
        QFETCH(QPoint, pos);
        QFETCH(int, index);
        Box box(64);
        QCOMPARE(box.view->swatchAt(pos), index);

        QSignalSpy spy(box.view, &SwatchView::swatchPressed);
        QTest::mousePress(box.view, Qt::LeftButton, Qt::NoModifier, pos);
        if (index < 0) {
            QCOMPARE(spy.count(), 0);
        } else {
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toInt(), index);
            QCOMPARE(spy.at(0).at(1).toPoint(), box.view->mapToGlobal(pos));
        }
    }

    void everyButtonPresses_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void everyButtonPresses()
    {
        QFETCH(Qt::MouseButton, button);
        Box box(64);
        QSignalSpy spy(box.view, &SwatchView::swatchPressed);
        QTest::mousePress(box.view, button, Qt::NoModifier, centreOf(5, 0));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 5);
        // Wired to the model as the window does, the press selects the swatch.
        box.model.Picture1_MouseDown(spy.at(0).at(0).toInt());
        QCOMPARE(box.model.lCurPic, 5);
        QCOMPARE(box.model.lPicIndex, 5);
    }

    void rowsBelowTheFrameAreNotHit()
    {
        Box box(200);
        // Row 3 (top 61 px) shows its first two pixel rows above the frame's bottom.
        QCOMPARE(box.view->swatchAt(QPoint(12, 62)), 3 * 46);
        QCOMPARE(box.view->swatchAt(QPoint(12, 63)), -1);
        QCOMPARE(box.view->swatchAt(centreOf(0, 4)), -1);
        QCOMPARE(box.view->swatchAt(centreOf(0, 10)), -1);
        QSignalSpy spy(box.view, &SwatchView::swatchPressed);
        QTest::mousePress(box.view, Qt::LeftButton, Qt::NoModifier, centreOf(0, 4));
        QCOMPARE(spy.count(), 0);
    }

    void stackedSwatchesHitTheHighestIndex()
    {
        Box box(64, false);
        QCOMPARE(box.view->swatchAt(centreOf(0, 0)), 63);
        QCOMPARE(box.view->swatchAt(centreOf(1, 0)), -1);
    }

    void paintsEachSwatchInItsColour()
    {
        Box box(64);
        box.model.setColor(0, RGB(255, 0, 0));
        box.model.setColor(45, RGB(0, 0, 255));
        box.model.setColor(63, RGB(1, 200, 3));
        const QImage image = box.view->grab().toImage();
        QCOMPARE(image.pixel(centreOf(0, 0)), rgbOf(RGB(255, 0, 0)));
        QCOMPARE(image.pixel(centreOf(45, 0)), rgbOf(RGB(0, 0, 255)));
        QCOMPARE(image.pixel(centreOf(17, 1)), rgbOf(RGB(1, 200, 3)));
        QCOMPARE(image.pixel(centreOf(7, 1)), rgbOf(box.model.color(46 + 7)));
        // A sunken edge: shadow at the top-left, light at the bottom-right.
        QCOMPARE(image.pixel(QPoint(8, 13)), qRgb(128, 128, 128));
        QCOMPARE(image.pixel(QPoint(23, 28)), qRgb(255, 255, 255));
    }

    void repaintsAfterAColourChange()
    {
        Box box(64);
        (void)box.view->grab();
        box.model.setColor(10, RGB(12, 34, 56));
        QCOMPARE(box.view->grab().toImage().pixel(centreOf(10, 0)), rgbOf(RGB(12, 34, 56)));
        box.model.fillColors(RGB(7, 8, 9));
        QCOMPARE(box.view->grab().toImage().pixel(centreOf(3, 1)), rgbOf(RGB(7, 8, 9)));
    }

    void stackedSwatchesShowTheTopOne()
    {
        Box box(64, false);
        box.model.setColor(63, RGB(0, 255, 0));
        box.model.setColor(0, RGB(255, 0, 0));
        QCOMPARE(box.view->grab().toImage().pixel(centreOf(0, 0)), rgbOf(RGB(0, 255, 0)));
    }

    void fullBoxArrangesPaintsAndHits()
    {
        Box box(ColorBoxModel::kMaxSwatches);
        QCOMPARE(box.model.count(), 32768);
        QVERIFY(box.model.OrderPic(11235));
        box.model.setColor(2 * 46 + 10, RGB(9, 99, 199));
        const QImage image = box.view->grab().toImage();
        QCOMPARE(image.pixel(centreOf(10, 2)), rgbOf(RGB(9, 99, 199)));
        QCOMPARE(box.view->swatchAt(centreOf(10, 2)), 2 * 46 + 10);
        QCOMPARE(box.view->swatchRect(32767).top(), 13 + 16 * (32767 / 46));
        // Unarranged, too.
        QVERIFY(!box.model.OrderPic(100));
        box.model.AddPics(40000);
        QCOMPARE(box.model.count(), 32768);
    }

    void viewOutlivesItsModel()
    {
        QGroupBox frame;
        frame.resize(kFrameWidth, kFrameHeight);
        auto *model = new ColorBoxModel;
        SwatchView view(model, &frame);
        delete model;
        QCOMPARE(view.swatchAt(QPoint(10, 15)), -1);
        QVERIFY(!view.grab().isNull());
    }

    void menuItemsAsDesigned()
    {
        QWidget window;
        const SwatchMenu m = buildSwatchMenu(&window);
        QCOMPARE(m.menu->objectName(), QStringLiteral("menuPop"));
        QCOMPARE(m.menu->title(), QStringLiteral("操作"));
        const QList<QAction *> items = m.menu->actions();
        QCOMPARE(items.size(), 5);
        const QList<QAction *> expected = {m.loadBackground, m.loadForeground, m.separator,
                                           m.saveBackground, m.saveForeground};
        QCOMPARE(items, expected);

        struct Item
        {
            QAction *action;
            const char *name;
            QString text;
            QKeySequence keys;
        };
        const Item rows[] = {
            {m.loadBackground, "setBg", QStringLiteral("设为背景色"),
             QKeySequence(QStringLiteral("Ctrl+B"))},
            {m.loadForeground, "setFg", QStringLiteral("设为前景色"),
             QKeySequence(QStringLiteral("Ctrl+F"))},
            {m.saveBackground, "menuSaveBg", QStringLiteral("保存背景色"),
             QKeySequence(QStringLiteral("Ctrl+S"))},
            {m.saveForeground, "menuSaveFg", QStringLiteral("保存前景色"),
             QKeySequence(QStringLiteral("Ctrl+D"))},
        };
        for (const Item &row : rows) {
            QCOMPARE(row.action->objectName(), QLatin1String(row.name));
            QCOMPARE(row.action->text(), row.text);
            QCOMPARE(row.action->shortcut(), row.keys);
            QCOMPARE(row.action->shortcutContext(), Qt::WindowShortcut);
            QVERIFY(window.actions().contains(row.action));
        }
        QVERIFY(m.separator->isSeparator());
        QCOMPARE(m.separator->objectName(), QStringLiteral("fgff"));
        QVERIFY(!window.actions().contains(m.separator));
    }

    void shortcutsWorkWhileTheMenuIsClosed_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("Ctrl+B") << int(Qt::Key_B) << QStringLiteral("setBg");
        QTest::newRow("Ctrl+F") << int(Qt::Key_F) << QStringLiteral("setFg");
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << QStringLiteral("menuSaveBg");
        QTest::newRow("Ctrl+D") << int(Qt::Key_D) << QStringLiteral("menuSaveFg");
    }
    void shortcutsWorkWhileTheMenuIsClosed()
    {
        QFETCH(int, key);
        QFETCH(QString, name);
        QWidget window;
        window.resize(200, 100);
        const SwatchMenu m = buildSwatchMenu(&window);
        QAction *target = window.findChild<QAction *>(name);
        QVERIFY(target);
        QSignalSpy spy(target, &QAction::triggered);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(!m.menu->isVisible());
        QTest::keyClick(&window, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(SwatchViewTest)
#include "swatch_view_test.moc"
