// The colour-code line's copy-as submenus as the user sees them open.
#include "color/color_pair.h"
#include "color/copy_as_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

using namespace tintavo;

class CopyAsTest : public QObject
{
    Q_OBJECT

private slots:
    // The foreground's submenu ends with display-p3 and the name (every name
    // of the colour, copied when chosen), or the nearest name, disabled.
    void submenuEndsWithDisplayP3AndName_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QStringList>("tail"); // a leading '-' marks a disabled entry
        QTest::newRow("rebeccapurple")
            << QColor(0x663399)
            << QStringList{"color(display-p3 0.3737 0.2103 0.5791)", "rebeccapurple"};
        QTest::newRow("both spellings of grey") << QColor(0x808080) << QStringList{"gray", "grey"};
        QTest::newRow("one step off steelblue")
            << QColor(0x4682B5)
            << QStringList{"color(display-p3 0.3318 0.5041 0.6929)", "-最接近：steelblue"};
    }

    void submenuEndsWithDisplayP3AndName()
    {
        QFETCH(QColor, color);
        QFETCH(QStringList, tail);
        QLineEdit line;
        QWidget window;
        ColorPair pair;
        pair.setColor(PairRole::Foreground, rgb(color.red(), color.green(), color.blue()));
        addCopyAsCommands(&line, &window, pair);
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *entry : menu->actions()) {
                if (entry->menu() && entry->text() == QStringLiteral("复制前景色为")) {
                    for (QAction *form : entry->menu()->actions())
                        if (!form->isSeparator())
                            seen << (form->isEnabled() ? "" : "-") + form->text();
                    entry->menu()->actions().constLast()->trigger();
                }
            }
            menu->close();
        });
        emit line.customContextMenuRequested(QPoint(2, 2));
        QCOMPARE(seen.mid(seen.size() - tail.size()), tail);
        // Choosing the last entry copied it, unless it only names the nearest.
        if (!tail.constLast().startsWith(u'-'))
            QCOMPARE(QGuiApplication::clipboard()->text(), tail.constLast());
    }
};

QTEST_MAIN(CopyAsTest)
#include "copy_as_test.moc"
