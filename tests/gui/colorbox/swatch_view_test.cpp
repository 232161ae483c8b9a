#include "colorbox/color_box_model.h"
#include "common/qt_color.h"
#include "common/twips.h"
#include "main_window_fixture.h"

#include <QGroupBox>
#include <QSignalSpy>

using namespace tintavo;

namespace {

// The centre of swatch `col`, `row` of the grid, in view pixels.
QPoint centreOf(int col, int row)
{
    return QPoint(16 + 16 * col, 21 + 16 * row);
}

// The colour box's frame as laid out at the design size, with `count`
// swatches, arranged unless told otherwise.
struct Box
{
    explicit Box(int count, bool arrange = true)
    {
        setUpApplicationLook(*qApp);
        frame.setGeometry(7, 410, 11235 / kTwipsPerPixel, 945 / kTwipsPerPixel);
        model.addSwatches(count - 1);
        if (arrange)
            model.arrange(11235);
        view = new SwatchView(&model, &frame);
    }
    QColor shows(QPoint at) const { return view->grab().toImage().pixelColor(at); }

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
        box.frame.resize(500, 70);
        box.frame.show();
        QCOMPARE(box.view->geometry(), QRect(0, 0, 500, 70));
    }

    // A press on a swatch reports it, and the swatch shows its colour there.
    void pressMapsToSwatch_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<int>("index"); // -1: no swatch
        QTest::newRow("swatch 0 top-left pixel") << 64 << QPoint(8, 13) << 0;
        QTest::newRow("swatch 0 bottom-right pixel") << 64 << QPoint(23, 28) << 0;
        QTest::newRow("swatch 1 first pixel") << 64 << QPoint(24, 13) << 1;
        QTest::newRow("swatch 46, start of row 1") << 64 << centreOf(0, 1) << 46;
        QTest::newRow("past the last swatch") << 64 << centreOf(18, 1) << -1;
        QTest::newRow("left margin") << 64 << QPoint(7, 20) << -1;
        QTest::newRow("above the grid") << 64 << QPoint(30, 12) << -1;
        QTest::newRow("right of the last column") << 64 << QPoint(8 + 16 * 46 + 1, 20) << -1;
        // Row 3 (top 61 px) shows its first two pixel rows above the frame's bottom.
        QTest::newRow("row 3 above the frame's edge") << 200 << QPoint(12, 62) << 3 * 46;
        QTest::newRow("row 3 below the frame's edge") << 200 << QPoint(12, 63) << -1;
        QTest::newRow("full box, row 2") << ColorBoxModel::kMaxSwatches << centreOf(10, 2) << 102;
    }

    void pressMapsToSwatch()
    {
        QFETCH(int, count);
        QFETCH(QPoint, pos);
        QFETCH(int, index);
        Box box(count);
        QSignalSpy spy(box.view, &SwatchView::swatchPressed);
        QTest::mousePress(box.view, Qt::LeftButton, Qt::NoModifier, pos);
        QCOMPARE(spy.isEmpty() ? -1 : spy.at(0).at(0).toInt(), index);
        if (index >= 0) {
            QCOMPARE(spy.at(0).at(1).toPoint(), box.view->mapToGlobal(pos));
            box.model.setColor(index, RGB(9, 99, 199));
            const QRect inside = box.view->swatchRect(index).adjusted(1, 1, -1, -1);
            QCOMPARE(box.shows(QPoint(qBound(inside.left(), pos.x(), inside.right()),
                                      qBound(inside.top(), pos.y(), inside.bottom()))),
                     QColor(9, 99, 199));
        }
    }

    void paintsEachSwatchWithASunkenEdge()
    {
        Box box(64);
        box.model.setColor(0, RGB(255, 0, 0));
        QCOMPARE(box.shows(centreOf(0, 0)), QColor(255, 0, 0));
        QCOMPARE(box.shows(centreOf(7, 1)), toQColor(box.model.color(46 + 7)));
        QCOMPARE(box.shows(QPoint(8, 13)), QColor(128, 128, 128));
        QCOMPARE(box.shows(QPoint(23, 28)), QColor(255, 255, 255));
    }

    void stackedSwatchesShowAndHitTheTopOne()
    {
        Box box(64, false);
        box.model.setColor(63, RGB(0, 255, 0));
        QCOMPARE(box.shows(centreOf(0, 0)), QColor(0, 255, 0));
        QCOMPARE(box.view->swatchAt(centreOf(0, 0)), 63);
        QCOMPARE(box.view->swatchAt(centreOf(1, 0)), -1);
    }

    void viewOutlivesItsModel()
    {
        QGroupBox frame;
        frame.resize(749, 63);
        auto *model = new ColorBoxModel;
        SwatchView view(model, &frame);
        delete model;
        QCOMPARE(view.swatchAt(QPoint(10, 15)), -1);
        QVERIFY(!view.grab().isNull());
    }
};

QTEST_MAIN(SwatchViewTest)
#include "swatch_view_test.moc"
