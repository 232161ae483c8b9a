#include "main_window_fixture.h"

#include "color/preview_inspector.h"
#include "color/vision_simulation.h"
#include "colorbox/color_box_model.h"

#include <QClipboard>
#include <QLabel>

using namespace tintavo;

// The contrast read-out, the preview's menu and the copy-as commands, as the
// user sees and uses them.
class PairInspectionTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;

    QString readout() const { return f.control<QLabel>("contrast_info")->text(); }

    // Types "RRGGBB" into the three hex boxes of "fg" or "bg"; without `rrggbb`
    // reads them.
    QString hex(const QString &pair, const QString &rrggbb = {}) const
    {
        QString shown;
        for (int i = 0; i < 3; ++i) {
            const QString box = pair + QStringList{"_red_hex", "_green_hex", "_blue_hex"}[i];
            if (!rrggbb.isEmpty())
                f.typeOver(box, rrggbb.mid(2 * i, 2));
            shown += f.control(box)->text();
        }
        return shown;
    }

    // Chooses the preview menu's entry that reads `text` (in a submenu too);
    // returns what the menu offered, a '-' after those greyed out.
    QStringList choose(const QString &text) const
    {
        std::unique_ptr<QMenu> menu(f.form->previewInspector().createContextMenu(QPoint()));
        QStringList offered;
        QList<QAction *> actions = menu->actions();
        for (int i = 0; i < actions.size(); ++i) {
            if (actions[i]->menu())
                actions += actions[i]->menu()->actions();
            offered << actions[i]->text() + (actions[i]->isEnabled() ? "" : "-");
        }
        for (QAction *a : actions)
            if (a->text() == text)
                a->trigger();
        return offered;
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.reset(); }

    // The read-out follows the typed values, dark on its own light plate
    // whatever the pair.
    void readoutFollowsTheBoxes_data()
    {
        QTest::addColumn<QString>("fg");
        QTest::addColumn<QString>("bg");
        QTest::addColumn<QString>("shows");
        QTest::newRow("start") << ""
                               << "" << u"对比度 7.18:1  正文 AA✓ AAA✓  大字 AA✓ AAA✓"_qs;
        QTest::newRow("777777/white")
            << "777777"
            << "FFFFFF" << u"对比度 4.47:1  正文 AA✗ AAA✗  大字 AA✓ AAA✗"_qs;
    }

    void readoutFollowsTheBoxes()
    {
        QFETCH(QString, fg);
        QFETCH(QString, bg);
        if (!fg.isEmpty())
            hex("fg", fg), hex("bg", bg);
        QTEST(readout(), "shows");
        const QImage plate = f.onScreen(f.control<QLabel>("contrast_info"));
        QCOMPARE(test::dominantColor(plate), QColor(0xFF, 0xFF, 0xE1));
        QVERIFY(test::showsColor(plate, Qt::black, 40));
    }

    void adjustAndUndo()
    {
        hex("fg", "777777");
        hex("bg", "FFFFFF");
        const QStringList offered = choose(u"前景色调至 AA"_qs);
        QVERIFY(offered.contains(u"前景色调至 AAA"_qs));
        QVERIFY(offered.contains(u"背景色调至 AAA (无法达到)-"_qs));
        QCOMPARE(hex("fg"), u"767676"_qs);
        QVERIFY(readout().startsWith(u"对比度 4.54:1"_qs));
        QVERIFY(choose(u"前景色调至 AA"_qs).contains(u"前景色调至 AA-"_qs)); // passes now
        choose(u"撤销调整"_qs);
        QCOMPARE(hex("fg"), u"777777"_qs);
        hex("bg", "777777");
        QVERIFY(choose(QString()).contains(u"前景色调至 AAA (无法达到)-"_qs));
    }

    void simulationChangesOnlyThePreview()
    {
        hex("bg", "FF0000");
        choose(u"红色盲"_qs);
        const ColorValue seen = simulateVision(RGB(255, 0, 0), VisionMode::Protanopia);
        QCOMPARE(test::dominantColor(f.previewImage()),
                 QColor(seen & 255, (seen >> 8) & 255, (seen >> 16) & 255));
        QVERIFY(readout().startsWith(u"[模拟红色盲] 对比度"_qs));
        QCOMPARE(hex("bg"), u"FF0000"_qs);
        QVERIFY(f.control("txtColorInfo")->text().contains(u"[#FF0000]"_qs));
        choose(u"正常"_qs);
        QCOMPARE(test::dominantColor(f.previewImage()), QColor(255, 0, 0));
    }

    void showContrastIsKept()
    {
        choose(u"显示对比度"_qs);
        QVERIFY(!f.control<QLabel>("contrast_info")->isVisible());
        QVERIFY(f.readIni().contains("ShowContrast=0\r\n"));
        f.start();
        QVERIFY(!f.control<QLabel>("contrast_info")->isVisible());
    }

    // Out as a palette file and back in from a swatch on, wrapping at the end; a
    // broken file is refused whole with its bad line named.
    void colorBoxOutAndIn()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("box.gpl");
        QString opened = dir.filePath("bad.gpl");
        f.fileDialogs = {[&](QString *) { return saved; }, [&] { return opened; }};
        f.start();
        ColorBoxModel &box = f.form->colorBox();
        box.fillColors(kWhite);
        box.setColor(0, RGB(18, 52, 86));
        box.setColor(2, RGB(0, 0, 0));
        f.pressSwatch(2, "copySwatchCode");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"#000000"_qs);
        f.pressSwatch(0, "exportColorBox");
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("\n18 52 86\t#123456\n0 0 0\t#000000\n"));

        QFile bad(opened);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("GIMP Palette\n1 2 3\n4 5\n");
        bad.close();
        f.pressSwatch(5, "importColorBox");
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.front().contains(u"第 3 行"_qs));
        QCOMPARE(f.swatchShows(5), QColor(Qt::white));

        opened = saved;
        f.pressSwatch(box.lastIndex(), "importColorBox");
        QCOMPARE(f.swatchShows(box.lastIndex()), QColor(18, 52, 86));
        QCOMPARE(f.swatchShows(0), QColor(0, 0, 0));
    }

    void ctrlShiftCCopiesTheDeclaration()
    {
        QTest::keyClick(f.form.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"color: #000000; background-color: #CD890F;"_qs);
    }
};

QTEST_MAIN(PairInspectionTest)
#include "pair_inspection_test.moc"
