#include "main_window_fixture.h"
#include "pixels.h"

#include "color/contrast.h"
#include "color/preview_inspector.h"
#include "colorbox/color_box_model.h"

#include <QClipboard>
#include <QLabel>

using namespace tintavo;
using tintavo::test::MainWindowFixture;

// The contrast read-out, the preview's menu and the copy-as commands, as the
// user sees and uses them.
class PairInspectionTest : public QObject
{
    Q_OBJECT

    MainWindowFixture f;

    QLabel *readout() const { return f.control<QLabel>(QStringLiteral("contrast_info")); }

    void typeColor(const char *pair, const char *rrggbb) const
    {
        const char *channels[] = {"red", "green", "blue"};
        for (int i = 0; i < 3; ++i)
            f.typeOver(QStringLiteral("%1_%2_hex").arg(pair, channels[i]),
                       QString::fromLatin1(rrggbb + 2 * i, 2));
    }

    QString hexOf(const char *pair) const
    {
        return f.control(QStringLiteral("%1_red_hex").arg(pair))->text() +
               f.control(QStringLiteral("%1_green_hex").arg(pair))->text() +
               f.control(QStringLiteral("%1_blue_hex").arg(pair))->text();
    }

    // Chooses the preview menu's entry that reads `text` (in a submenu too).
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
    void cleanup() { f.resetSettings(); }

    // The read-out follows every typed value at once, without waiting for events.
    void readoutFollowsTheBoxes_data()
    {
        QTest::addColumn<QString>("fg");
        QTest::addColumn<QString>("bg");
        QTest::addColumn<QString>("shows");
        QTest::newRow("start") << ""
                               << "" << u"对比度 7.18:1  正文 AA✓ AAA✓  大字 AA✓ AAA✓"_qs;
        QTest::newRow("767676/white")
            << "767676"
            << "FFFFFF" << u"对比度 4.54:1  正文 AA✓ AAA✗  大字 AA✓ AAA✓"_qs;
        QTest::newRow("777777/white")
            << "777777"
            << "FFFFFF" << u"对比度 4.47:1  正文 AA✗ AAA✗  大字 AA✓ AAA✗"_qs;
        QTest::newRow("white/white")
            << "FFFFFF"
            << "FFFFFF" << u"对比度 1.00:1  正文 AA✗ AAA✗  大字 AA✗ AAA✗"_qs;
    }
    void readoutFollowsTheBoxes()
    {
        QFETCH(QString, fg);
        QFETCH(QString, bg);
        QFETCH(QString, shows);
        if (!fg.isEmpty()) {
            typeColor("fg", qPrintable(fg));
            typeColor("bg", qPrintable(bg));
        }
        QCOMPARE(readout()->text(), shows);
        // Its own plate: dark text on a light ground whatever the pair.
        const QImage plate = f.onScreen(readout());
        QCOMPARE(test::dominantColor(plate), QColor(0xFF, 0xFF, 0xE1));
        QVERIFY(test::showsColor(plate, Qt::black, 40));
    }

    void adjustAndUndo()
    {
        typeColor("fg", "777777");
        typeColor("bg", "FFFFFF");
        const QStringList offered = choose(QStringLiteral("前景色调至 AA"));
        QVERIFY(offered.contains(u"前景色调至 AAA"_qs));
        QVERIFY(offered.contains(u"背景色调至 AAA (无法达到)-"_qs));
        QCOMPARE(hexOf("fg"), QStringLiteral("767676"));
        QVERIFY(readout()->text().startsWith(u"对比度 4.54:1"_qs));
        QVERIFY(choose(u"前景色调至 AA"_qs).contains(u"前景色调至 AA-"_qs)); // passes now
        choose(QStringLiteral("撤销调整"));
        QCOMPARE(hexOf("fg"), QStringLiteral("777777"));
        typeColor("bg", "777777");
        QVERIFY(choose(QString()).contains(u"前景色调至 AAA (无法达到)-"_qs));
    }

    void simulationChangesOnlyThePreview()
    {
        typeColor("bg", "FF0000");
        choose(QStringLiteral("红色盲"));
        const ColorValue seen = simulateVision(RGB(255, 0, 0), VisionMode::Protanopia);
        QCOMPARE(test::dominantColor(f.previewImage()),
                 QColor(seen & 255, (seen >> 8) & 255, (seen >> 16) & 255));
        QVERIFY(readout()->text().startsWith(u"[模拟红色盲] 对比度"_qs));
        QCOMPARE(hexOf("bg"), QStringLiteral("FF0000"));
        QVERIFY(f.control("txtColorInfo")->text().contains(u"[#FF0000]"_qs));
        choose(QStringLiteral("正常"));
        QCOMPARE(test::dominantColor(f.previewImage()), QColor(255, 0, 0));
    }

    void showContrastIsKept()
    {
        choose(QStringLiteral("显示对比度"));
        QVERIFY(!readout()->isVisible());
        QVERIFY(f.readIni().contains("ShowContrast=0\r\n"));
        f.start();
        QVERIFY(!readout()->isVisible());
    }

    // Out as a palette file and back in from a swatch on, wrapping at the end; a
    // broken file is refused whole with its bad line named.
    void colorBoxOutAndIn()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("box.gpl"));
        QString opened = dir.filePath(QStringLiteral("bad.gpl"));
        f.fileDialogs = {[&](QString *) { return saved; }, [&] { return opened; }};
        f.start();
        ColorBoxModel &box = f.form->colorBox();
        box.fillColors(kWhite);
        box.setColor(0, RGB(18, 52, 86));
        box.setColor(2, RGB(0, 0, 0));
        f.pressSwatch(2, QStringLiteral("copySwatchCode"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("#000000"));
        f.pressSwatch(0, QStringLiteral("exportColorBox"));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("\n18 52 86\t#123456\n0 0 0\t#000000\n"));

        QFile bad(opened);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("GIMP Palette\n1 2 3\n4 5\n");
        bad.close();
        f.pressSwatch(5, QStringLiteral("importColorBox"));
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.front().contains(u"第 3 行"_qs));
        QCOMPARE(box.color(5), kWhite);

        opened = saved;
        f.pressSwatch(box.lastIndex(), QStringLiteral("importColorBox"));
        QCOMPARE(box.color(box.lastIndex()), RGB(18, 52, 86));
        QCOMPARE(f.swatchShows(0), QColor(0, 0, 0));
    }

    void ctrlShiftCCopiesTheDeclaration()
    {
        QTest::keyClick(f.form.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("color: #000000; background-color: #CD890F;"));
    }
};

QTEST_MAIN(PairInspectionTest)
#include "pair_inspection_test.moc"
