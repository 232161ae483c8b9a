#include "color/contrast.h"
#include "color/qt_color.h"
#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "settings/safe_file.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QRegularExpression>
#include <QStyle>
#include <QTreeView>

using namespace tintavo;

class MainWindowTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.reset(); }

    // The designed texts, nothing written to the settings file, and the
    // focus in the preview; Shift+Tab and Tab leave it, its text unchanged,
    // and Tab goes round in the order of the design tab indexes.
    void startsAsDesigned()
    {
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！"));
        QCOMPARE(f.control<QGroupBox>("Frame1")->title(),
                 QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！::效果预览::"));
        auto *preview = f.control<QPlainTextEdit>("effect_text");
        const QString text = preview->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Brenvik软件工作室的作品，欢迎您使用！")));
        QVERIFY(!QFile::exists(f.iniPath()));
        QCOMPARE(QApplication::focusWidget(), preview);
        // Shift+Tab arrives as Backtab, as from the X server.
        QTest::keyClick(preview, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Picture1"));
        QCOMPARE(
            test::tabChain(preview),
            "effect_text fg_blue_slide fg_green_slide fg_red_slide fg_blue_hex fg_blue_dec "
            "fg_green_hex fg_green_dec fg_red_hex fg_red_dec exit_me show_fg_color show_bg_color "
            "about_me show_help bg_blue_slide bg_green_slide bg_red_slide bg_blue_hex bg_blue_dec "
            "bg_green_hex bg_green_dec bg_red_hex bg_red_dec cmdMouse txtColorInfo Picture1 "
            "effect_text");
        QCOMPARE(preview->toPlainText(), text);
    }

    // Settings mended from the copy an interrupted save left are said so over
    // the window as mended: the message's own event loop draws the window.
    void mendedSettingsAreSaidOverTheMendedWindow()
    {
        f.reset();
        f.writeIni({"[COLOR]", "Color0=16777215"});
        QVERIFY(writeRecoveryCopy(f.iniPath(), f.iniText({"[COLOR]", "Color0=65280"})));
        QImage behind;
        f.whileStartErrorOpen = [&] {
            if (QTest::qWaitForWindowExposed(f.form.get()))
                behind = f.onScreen(f.control<SwatchView>("Picture1"));
        };
        f.start();
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown[0].contains(QStringLiteral("已用恢复副本修复设置文件")));
        const QRect first = f.control<SwatchView>("Picture1")->swatchRect(0);
        QCOMPARE(behind.pixelColor(first.center()), QColor(Qt::green));
    }

    // A grown window grows the preview by as much, and gives the colour box
    // more columns; one smaller than its controls need (a small screen) keeps
    // them whole and scrolls each one Tab reaches into view.
    void layoutFollowsTheWindowSize()
    {
        const QSize before = f.control<QWidget>("effect_text")->size();
        f.form->resize(f.form->size() + QSize(67, 40));
        QCOMPARE(f.control<QWidget>("effect_text")->size(), before + QSize(67, 40));
        QCOMPARE(f.control<SwatchView>("Picture1")->swatchRect(50).topLeft(), QPoint(8, 29));
        f.form->resize(400, 240);
        QTRY_COMPARE(f.form->size(), QSize(400, 240));
        const int bar = f.form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const QRect view(0, 0, 400 - bar, 240 - bar);
        for (int i = 0; i < 27; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QWidget *w = QApplication::focusWidget();
            const QRect at(w->mapTo(f.form.get(), QPoint()), w->size());
            QVERIFY2((at & view).size() == at.size().boundedTo(view.size()),
                     qPrintable(w->objectName()));
        }
    }

    // Asked first; the swatches change only on a yes, and the next capture
    // slot stays where the last press put it.
    void randomFill()
    {
        f.pressSwatch(1);
        for (bool yes : {false, true}) {
            const QImage before = f.onScreen(f.control<QWidget>("Picture1"));
            f.questions.answer = yes;
            f.press("show_help");
            QCOMPARE(f.questions.asked.takeFirst(),
                     QStringLiteral("Tintavo|注意：这个操作将会覆盖掉您此前存储的颜色！\n"
                                    "您确信要进行此操作？"));
            QCOMPARE(f.onScreen(f.control<QWidget>("Picture1")) != before, yes);
        }
        QVERIFY(f.savedAtExit().contains("StartPoint=1\r\n"));
    }

    // A press anywhere on a swatch is on that swatch, which shows its colour
    // there inside a sunken edge; a press beside the swatches, or on the part
    // of the last row the frame cuts off, is on none.
    void pressesHitTheSwatchUnderThePointer_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("index"); // -1: none
        QTest::newRow("swatch 0 top-left pixel") << 64 << QPoint(8, 13) << 0;
        QTest::newRow("swatch 0 bottom-right pixel") << 64 << QPoint(23, 28) << 0;
        QTest::newRow("swatch 1 first pixel") << 64 << QPoint(24, 13) << 1;
        QTest::newRow("swatch 46, start of row 1") << 64 << QPoint(16, 37) << 46;
        QTest::newRow("past the last swatch") << 64 << QPoint(304, 37) << -1;
        QTest::newRow("left margin") << 64 << QPoint(7, 20) << -1;
        QTest::newRow("above the grid") << 64 << QPoint(30, 12) << -1;
        QTest::newRow("right of the last column") << 64 << QPoint(8 + 16 * 46 + 1, 20) << -1;
        QTest::newRow("row 3 above the frame's edge") << 200 << QPoint(12, 62) << 3 * 46;
        QTest::newRow("row 3 below the frame's edge") << 200 << QPoint(12, 63) << -1;
        QTest::newRow("full box, row 2") << 32768 << QPoint(176, 53) << 102;
    }

    void pressesHitTheSwatchUnderThePointer()
    {
        QFETCH(int, count);
        QFETCH(QPoint, at);
        QFETCH(int, index);
        f.writeIni({"[APPSET]", "nColor=" + QString::number(count)});
        f.start();
        for (int i = 0; i < std::min(count, 200); ++i)
            f.session->colorBox().setColor(i, rgb(i % 256, i / 256, 1));
        f.pressAt(at, "setFg");
        const auto dec = [&](const char *box) { return f.control(box)->text().toInt(); };
        QCOMPARE(dec("fg_blue_dec") ? dec("fg_red_dec") + 256 * dec("fg_green_dec") : -1, index);
        auto *view = f.control<SwatchView>("Picture1");
        // The ring and the corner that mark a pressed swatch go elsewhere.
        f.session->colorBox().selectSwatch(index == 0 ? 1 : 0);
        const QImage shown = f.onScreen(view);
        if (index >= 0) {
            const QRect inside = view->swatchRect(index).adjusted(1, 1, -1, -1);
            QCOMPARE(shown.pixelColor(qBound(inside.left(), at.x(), inside.right()),
                                      qBound(inside.top(), at.y(), inside.bottom())),
                     QColor(index % 256, index / 256, 1));
            const QRect edge = view->swatchRect(index);
            QVERIFY(!shown.rect().contains(edge) ||
                    (shown.pixelColor(edge.topLeft()) == QColor(128, 128, 128) &&
                     shown.pixelColor(edge.bottomRight()) == QColor(Qt::white)));
        }
    }

    // Any mouse button opens the menu as designed, its items named and with
    // their keys; the pressed swatch becomes the next capture slot.
    void anyButtonOpensTheSwatchMenu()
    {
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            QCOMPARE(
                f.pressSwatch(5 + int(button), QString(), button),
                (QStringList{"setBg|设为背景色|Ctrl+B", "setFg|设为前景色|Ctrl+F", "fgff||",
                             "menuSaveBg|保存背景色|Ctrl+S", "menuSaveFg|保存前景色|Ctrl+D", "||",
                             "undoColorBox|撤销|Ctrl+Z", "redoColorBox|重做|Ctrl+Shift+Z", "||",
                             "copySwatchCode|复制颜色代码|", "exportColorBox|导出颜色盒…|",
                             "importColorBox|导入颜色盒…|", "||", "makeRamp|生成色阶|",
                             "harmonies|配色|", "||", "openPicture|打开图片取色…|Ctrl+O"}));
        QVERIFY(f.savedAtExit().contains("StartPoint=9\r\n"));
    }

    // The selected swatch wears a black and white ring after a click as after
    // the keyboard. The capture slot's mark stands out on any colour, beside
    // the ring or without it, at scale 1 and 2: it turns at least 20 pixels
    // (at scale 1) of what the swatch showed into a colour 3:1 away or more.
    void selectionAndCaptureSlotAreDrawn()
    {
        ColorBoxModel &box = f.session->colorBox();
        auto *view = f.control<SwatchView>("Picture1");
        box.fillColors(kRgbWhite);
        f.pressSwatch(5, {}, Qt::LeftButton); // the menu closed unchosen
        box.storeCapture(rgb(0, 0, 255));     // into 5; the next goes to 6
        const QImage shown = f.onScreen(view);
        const QRect ringed = view->swatchRect(5);
        QCOMPARE(shown.pixelColor(ringed.right() - 1, ringed.center().y()), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(ringed.right() - 2, ringed.center().y()), QColor(Qt::white));
        QCOMPARE(shown.pixelColor(ringed.center()), QColor(Qt::blue));
        const QRect slot = view->swatchRect(6);
        const auto drawn = [&](qreal scale, int captureSlot) {
            box.setNextCaptureSlot(captureSlot);
            QImage image(view->size() * scale, QImage::Format_RGB32);
            image.setDevicePixelRatio(scale);
            view->render(&image);
            return image.copy(QRect(slot.topLeft() * scale, slot.size() * scale));
        };
        QStringList faint;
        for (const QColor swatch : {"#ffffff", "#000000", "#808080", "#ff0000", "#ffff00",
                                    "#0000ff", "#00ff00", "#cd890f", "#202020", "#e0e0e0"})
            for (const bool ring : {false, true})
                for (const qreal scale : {1.0, 2.0}) {
                    box.fillColors(toRgb(swatch));
                    box.selectSwatch(ring ? 6 : 7);
                    const QImage marked = drawn(scale, 6), unmarked = drawn(scale, 8);
                    int changed = 0;
                    for (int y = 0; y < marked.height(); ++y)
                        for (int x = 0; x < marked.width(); ++x)
                            changed += contrastRatio(toRgb(marked.pixelColor(x, y)),
                                                     toRgb(unmarked.pixelColor(x, y))) >= 3;
                    if (changed < 20 * scale * scale)
                        faint << QString("%1%2 at %3: %4")
                                     .arg(swatch.name(), ring ? " ringed" : "")
                                     .arg(scale)
                                     .arg(changed);
                    QCOMPARE(marked.pixelColor(marked.rect().center()), swatch);
                }
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(", ")));
    }

    // A 100-colour palette imported at swatch 60 of 64 among stored colours
    // asks first and never wraps round to swatch 0; it lands where it was
    // asked for though the selection moves while the file is read. 取消
    // changes nothing; 只填空位 fills the empty swatches only, and says what
    // found no place; Ctrl+Z takes the import back whole, and the file agrees.
    void importAsksAndNeverWraps()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("hundred.gpl");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("GIMP Palette\n");
        for (int i = 1; i <= 100; ++i)
            file.write(QByteArray::number(i) + " 0 0\n");
        file.close();
        f.fileDialogs = {[](QString *) { return QString(); }, [&] { return path; }};
        f.start();
        ColorBoxModel &box = f.session->colorBox();
        box.fillColors(kRgbWhite);
        const QColor stored(0, 0, 200);
        for (int i : {0, 5, 61, 63})
            box.setColor(i, toRgb(stored));
        const auto importAt60 = [&] {
            f.pressSwatch(60, "importColorBox");
            box.selectSwatch(2);
        };
        importAt60();
        QTRY_COMPARE(f.questions.asked.size(), 1);
        QCOMPARE(
            f.questions.asked.takeFirst(),
            QStringLiteral("导入颜色盒|从颜色 60 起写入 4 种颜色，会替换颜色盒里已存的 2 种颜色。"
                           "\n\n覆盖：依次写入，替换已存的颜色。\n只填空位：只写入空格（白色），"
                           "已存的颜色不动。|覆盖/只填空位/取消"));
        QCOMPARE(f.swatchShows(60), QColor(Qt::white));

        f.questions.choice = 1;
        importAt60();
        QTRY_COMPARE(f.swatchShows(60), QColor(1, 0, 0));
        const QColor shown[] = {f.swatchShows(61), f.swatchShows(62), f.swatchShows(63),
                                f.swatchShows(0), f.swatchShows(1)};
        QCOMPARE(QList<QColor>(std::begin(shown), std::end(shown)),
                 (QList<QColor>{stored, QColor(2, 0, 0), stored, stored, Qt::white}));
        QCOMPARE(
            f.messages.notices,
            QStringList{"已导入 2 种颜色。\n"
                        "共有 100 种颜色，从颜色 60 到末尾只有 2 个空位，其余 98 种没有写入。"});

        f.control<QWidget>("fg_red_slide")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(f.swatchShows(60), QColor(Qt::white)); // once repainted, on a busy machine too
        QCOMPARE(f.swatchShows(62), QColor(Qt::white));
        const QByteArray saved = f.savedAtExit();
        QVERIFY(!saved.contains("Color60=") && !saved.contains("Color62="));
        QVERIFY(saved.contains("Color61=13107200\r\n"));
    }

    // Ctrl+Z takes a capture back, also after 保存前景色, and Ctrl+Shift+Z
    // makes it again; in a text box Ctrl+Z undoes the typing there instead.
    // What undo brings back is saved.
    void ctrlZTakesColourBoxChangesBack()
    {
        ColorBoxModel &box = f.session->colorBox();
        box.setColor(3, rgb(0, 0, 200)); // as if stored in an earlier run
        box.forgetHistory();
        box.selectSwatch(3);
        box.storeCapture(rgb(0, 200, 0));
        f.pressSwatch(4, "menuSaveFg");
        f.typeOver("bg_red_dec", "12");
        QTest::keyClick(f.control("bg_red_dec"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.control("bg_red_dec")->text(), QStringLiteral("205"));
        QCOMPARE(f.swatchShows(4), QColor(0, 0, 0));
        f.control<QWidget>("fg_red_slide")->setFocus();
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.swatchShows(3), QColor(0, 0, 200));
        QCOMPARE(f.swatchShows(4), QColor(Qt::white));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.swatchShows(3), QColor(0, 200, 0));
        f.pressSwatch(0, "undoColorBox");
        QCOMPARE(f.swatchShows(3), QColor(0, 0, 200));
        QVERIFY(f.savedAtExit().contains("Color3=13107200\r\n"));
    }

    // After a command from the swatch menu the keyboard is in the colour box,
    // so Ctrl+Z takes that command back, not the typing before it; 撤销 and
    // 重做 say what they take back and make again.
    void ctrlZAfterASwatchMenuCommand()
    {
        ColorBoxModel &box = f.session->colorBox();
        box.fillColors(kRgbWhite);
        box.setColor(3, rgb(0x1D, 0x4E, 0xD8));
        f.pressSwatch(9, "menuSaveBg");
        f.typeOver("fg_green_dec", "7");
        f.questions.choice = 0; // 覆盖 swatch 3 itself and 9
        f.pressSwatch(3, "makeRamp");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.control("fg_green_dec")->text(), QStringLiteral("7"));
        QCOMPARE(f.swatchShows(4), QColor(Qt::white));
        const QStringList offered = f.pressSwatch(3);
        QVERIFY2(offered.contains("undoColorBox|撤销 保存背景色（颜色 9）|Ctrl+Z") &&
                     offered.contains("redoColorBox|重做 生成色阶（11 种颜色）|Ctrl+Shift+Z"),
                 qPrintable(offered.join(u'\n')));
    }

    // The palette file dialog reads in Chinese to the last cell, sizes, types
    // and dates included, each column as wide as what it shows.
    void fileDialogColumnsReadWhole()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("brand.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(114, 'x')) == 114);
        file.close();
        QVERIFY(QDir(dir.path()).mkdir("old"));
        f.fileDialogs = {};
        f.start();
        QStringList cells;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            dialog->setDirectory(dir.path());
            dialog->selectNameFilter(QStringLiteral("所有文件 (*)"));
            dialog->setViewMode(QFileDialog::Detail);
            auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
            // A cell's text as the item view draws it: within the style's margins.
            const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
            const auto cell = [view](int row, int column) {
                return view->model()->index(row, column, view->rootIndex()).data().toString();
            };
            const auto fits = [&](int column) {
                for (int row = 0; row < 2 && column > 0; ++row)
                    if (view->columnWidth(column) <
                        view->fontMetrics().horizontalAdvance(cell(row, column)) + margins)
                        return false;
                return true;
            };
            // Given the time to read the folder and follow the contents; "(cut)" if in vain.
            if (!QTest::qWaitFor([&] { return !cell(1, 2).isEmpty() && fits(1) && fits(2); }))
                qWarning("the columns never came to fit");
            for (int row = 0; row < 2; ++row) {
                QStringList shown;
                for (const int column : {0, 1, 2, 3})
                    shown << cell(row, column).remove(QRegularExpression("[0-9/: ]{10,}$")) +
                                 (fits(column) ? QString() : QStringLiteral(" (cut)"));
                cells << shown.join(u'|');
            }
            cells.sort();
            dialog->reject();
        });
        poll.start(10);
        f.pressSwatch(0, "importColorBox");
        QTRY_VERIFY(!poll.isActive());
        // The dates as figures alone: 2026/12/8 00:57.
        QCOMPARE(cells, (QStringList{"brand.txt|114 字节|纯文本文档|", "old||文件夹|"}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
