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
    // The foreground's submenu ends with display-p3, the CSS name (every name
    // of the colour, copied when chosen) and the Tailwind name, or the nearest
    // of each, disabled; then the user's own formats, filled in, each with its
    // template as the tooltip, which names a placeholder it does not know.
    void submenuEndsWithNamesAndOwnFormats_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QStringList>("tail"); // a leading '-' marks a disabled entry
        QTest::addColumn<QString>("copied");   // by the last entry
        QTest::addColumn<bool>("withOwn");     // the user's two formats given
        const QStringList own{"Sass：$c: #663399;", "有误：{rgb} 663399"};
        QTest::newRow("rebeccapurple")
            << QColor(0x663399)
            << QStringList{"color(display-p3 0.3737 0.2103 0.5791)", "rebeccapurple",
                           "-最接近 Tailwind：purple-800"} +
                   own
            << "{rgb} 663399" << true;
        QTest::newRow("both spellings of grey")
            << QColor(0x808080) << QStringList{"gray", "grey", "-最接近 Tailwind：olive-500"}
            << QString() << false;
        QTest::newRow("Tailwind's blue-500")
            << QColor(0x2B7FFF) << QStringList{"-最接近：dodgerblue", "tailwind: blue-500"}
            << "blue-500" << false;
    }

    void submenuEndsWithNamesAndOwnFormats()
    {
        QFETCH(QColor, color);
        QFETCH(QStringList, tail);
        QFETCH(QString, copied);
        QFETCH(bool, withOwn);
        QLineEdit line;
        QWidget window;
        ColorPair pair;
        pair.setColor(PairRole::Foreground, rgb(color.red(), color.green(), color.blue()));
        const std::vector<CopyTemplate> own{{"Sass", "$c: #{hex};"}, {"有误", "{rgb} {hex}"}};
        addCopyAsCommands(&line, &window, pair,
                          [&] { return withOwn ? own : std::vector<CopyTemplate>(); });
        QStringList seen, tips;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *entry : menu->actions()) {
                if (entry->menu() && entry->text() == QStringLiteral("复制前景色为")) {
                    for (QAction *form : entry->menu()->actions())
                        if (!form->isSeparator()) {
                            seen << (form->isEnabled() ? "" : "-") + form->text();
                            tips << form->toolTip();
                        }
                    if (!copied.isEmpty())
                        entry->menu()->actions().constLast()->trigger();
                }
            }
            menu->close();
        });
        emit line.customContextMenuRequested(QPoint(2, 2));
        QCOMPARE(seen.mid(seen.size() - tail.size()), tail);
        if (!copied.isEmpty())
            QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        if (tail.constLast().startsWith(u"有误"))
            QCOMPARE(tips.constLast(),
                     QStringLiteral("模板：{rgb} {hex}\n不认识的占位符 {rgb} 照原样保留。"));
    }
};

QTEST_MAIN(CopyAsTest)
#include "copy_as_test.moc"
