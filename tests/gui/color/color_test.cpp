// The colour pair as the user edits and inspects it in the main window.
#include "main_window_fixture.h"

#include "color/channel_codecs.h"
#include "color/preview_inspector.h"
#include "color/qt_color_chooser.h"
#include "color/vision_simulation.h"
#include "colorbox/color_box_model.h"
#include "common/qt_color.h"

#include <QClipboard>
#include <QColorDialog>
#include <QLabel>

using namespace tintavo;

class ColorTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;

    // What the user reads: a channel's editors ("decimal|hex|slider"), the
    // clipboard, or a control's text.
    QString shows(const QString &name) const
    {
        if (name == u"clipboard")
            return QGuiApplication::clipboard()->text();
        if (!f.form->findChild<QSlider *>(name + "_slide"))
            return f.control<QWidget>(name)->property("text").toString();
        return f.control(name + "_dec")->text() + u'|' + f.control(name + "_hex")->text() + u'|' +
               QString::number(f.control<QSlider>(name + "_slide")->value());
    }

    // One step of a user: "box=text" types over a box ("box+=" types on),
    // "slider=value" drags, "control:key" presses a key, "menu:entry" chooses
    // from the preview's menu ('_' for a space), "button=#RRGGBB" (or
    // "Alt+key=") answers the colour dialog it opens (empty: cancel),
    // "command=#RRGGBB" chooses a swatch menu command on a swatch of that
    // colour ("Ctrl+key=": the command's key, on swatch 0), "effect_text"
    // clicks into the preview.
    void run(const QString &step)
    {
        const QString control = step.section(u'=', 0, 0), value = step.section(u'=', 1);
        const Qt::Key key = Qt::Key(control.back().unicode());
        if (step.startsWith(u"menu:")) {
            std::unique_ptr<QMenu> menu(f.form->previewInspector().createContextMenu(QPoint()));
            for (QAction *a : menu->findChildren<QAction *>())
                if (a->text() == step.mid(5).replace(u'_', u' '))
                    a->trigger();
        } else if (step.contains(u':')) {
            const QKeyCombination keys = QKeySequence(step.section(u':', 1))[0];
            QTest::keyClick(f.control<QWidget>(step.section(u':', 0, 0)), keys.key(),
                            keys.keyboardModifiers());
        } else if (control.endsWith(u'+')) {
            QTest::keyClicks(f.control(control.chopped(1)), value);
        } else if (control.endsWith(u"_dec") || control.endsWith(u"_hex")) {
            f.typeOver(control, value);
        } else if (control.endsWith(u"_slide")) {
            auto *slider = f.control<QSlider>(control); // dragged
            slider->setSliderDown(true);
            slider->setSliderPosition(value.toInt());
            slider->setSliderDown(false);
        } else if (control.startsWith(u"show_") || control.startsWith(u"Alt+")) {
            f.colorChooser.answer =
                value.isEmpty() ? std::nullopt : std::optional(toRgb(QColor(value)));
            f.colorChooser.asked = false;
            if (control.startsWith(u"show_"))
                f.press(control);
            else
                QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
            QTRY_VERIFY(f.colorChooser.asked);
        } else if (control == u"effect_text") {
            QTest::mouseClick(f.control<QPlainTextEdit>(control)->viewport(), Qt::LeftButton, {},
                              QPoint(20, 20));
        } else if (control.startsWith(u"Ctrl+")) {
            f.form->colorBox().setColor(0, toRgb(QColor(value)));
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
        } else {
            f.form->colorBox().setColor(3, toRgb(QColor(value)));
            f.pressSwatch(3, control);
        }
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.reset(); }

    // Steps (see run()); what the user reads ("name=text" a line each, see
    // shows(); a control's text need only contain it); the errors shown (D a
    // hex digit, L a hex length, N digits only, T too large); the preview's
    // text and background colours (none: as at the start).
    void everyWayOfChangingAColour_data()
    {
        for (const char *column : {"steps", "shows", "errors", "colors"})
            QTest::addColumn<QString>(column);
        for (const char *pair : {"fg", "bg"})
            for (int ch = 0; ch < 3; ++ch) {
                const QString channel = pair + QStringList{"_red", "_green", "_blue"}[ch];
                const QString colors =
                    QString("#000000 #CD890F").replace((pair[0] == 'f' ? 1 : 9) + 2 * ch, 2, "64");
                for (const auto &[kind, input] :
                     {std::pair{"_dec", "100"}, {"_hex", "64"}, {"_slide", "100"}})
                    QTest::newRow(qPrintable(channel + kind))
                        << channel + kind + u'=' + input << channel + "=100|64|100" << QString()
                        << colors;
            }
        // A box that had the focus last hears of every load into its channel.
        const QString typed = "fg_red_dec=0 bg_red_dec=205 ";
        const QString protanopia =
            toQColor(simulateVision(rgb(255, 0, 0), VisionMode::Protanopia)).name().toUpper();
        const QString rows[][5] = {
            {"at start", "",
             "bg_red=205|CD|205\ncontrast_info=对比度 7.18:1  正文 AA✓ AAA✓  大字 AA✓ AAA✓\n"
             "txtColorInfo=[当前颜色设置]   前景色RGB(0，0，0)[#000000]             "
             "背景色：RGB(205，137，15) [#CD890F]",
             "", ""},
            {"hex typing goes on after the caret", "fg_red_hex=a fg_red_hex+=b",
             "fg_red=171|AB|171", "", "#AB0000 #CD890F"},
            {"hex lone F stays as typed", "fg_red_hex=F",
             "fg_red=15|F|15\ntxtColorInfo=前景色RGB(15，0，0)[#F0000]", "", "#0F0000 #CD890F"},
            {"hex g is refused", "bg_blue_hex=g", "bg_blue=15|g|15", "D", ""},
            {"dec 300", "bg_green_dec=30 bg_green_dec+=0",
             "bg_green=255|FF|255\ntxtColorInfo=背景色：RGB(205，255，15) [#CDFF0F]", "T",
             "#000000 #CDFF0F"},
            {"dec emptied", "bg_red_dec=1 bg_red_dec+=\b", "bg_red=|00|0", "", "#000000 #00890F"},
            // Page Up moves a slider by its large change, an arrow key by one.
            {"bg red slider pages by ten", "bg_red_slide=100 bg_red_slide:PgUp bg_red_slide:Right",
             "bg_red=111|6F|111", "", "#000000 #6F890F"},
            {"fg blue slider by five", "fg_blue_slide=100 fg_blue_slide:PgUp fg_blue_slide:Right",
             "fg_blue=106|6A|106", "", "#00006A #CD890F"},
            {"colour buttons", typed + "show_fg_color=#AA0000 show_bg_color=#123456",
             "fg_red=170|AA|170\nbg_blue=86|56|86", "", "#AA0000 #123456"},
            {"Alt+G and Alt+B", typed + "Alt+G=#0000FF Alt+B=#00FF00",
             "fg_blue=255|FF|255\nbg_green=255|FF|255", "", "#0000FF #00FF00"},
            {"dialog cancelled after a choice",
             "show_bg_color=#010203 show_bg_color=", "bg_red=1|01|1", "", "#000000 #010203"},
            {"set as fore- and background", typed + "setFg=#00AA55 setBg=#FFFFFF",
             "fg_green=170|AA|170\nbg_red=255|FF|255", "", "#00AA55 #FFFFFF"},
            {"Ctrl+F and Ctrl+B", "Ctrl+F=#00AA55 Ctrl+B=#123456",
             "fg_green=170|AA|170\nbg_blue=86|56|86", "", "#00AA55 #123456"},
            {"copy a swatch's code", "copySwatchCode=#123456", "clipboard=#123456", "", ""},
            {"click pads a lone hex digit", "fg_red_hex=F bg_red_dec=205 effect_text",
             "fg_red=15|0F|15", "", "#0F0000 #CD890F"},
            {"click drops leading zeros", "fg_red_dec=007 effect_text", "fg_red=7|07|7", "",
             "#070000 #CD890F"},
            {"click reports a long hex text once", "bg_red_hex=FF bg_red_hex+=F effect_text",
             "bg_red=0|FFF|0", "LL", "#000000 #00890F"},
            {"click after a refused hex text", "bg_blue_hex=g effect_text", "bg_blue=0|0g|0", "DD",
             "#000000 #CD8900"},
            {"adjusted to AA", "show_fg_color=#777777 show_bg_color=#FFFFFF menu:前景色调至_AA",
             "fg_red=118|76|118\ncontrast_info=对比度 4.54:1", "", "#767676 #FFFFFF"},
            {"protanopia in the preview only", "show_bg_color=#FF0000 menu:红色盲",
             "bg_red=255|FF|255\ncontrast_info=[模拟红色盲] 对比度\ntxtColorInfo=[#FF0000]", "",
             "#000000 " + protanopia},
        };
        for (const auto &r : rows)
            QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << r[4];
    }

    void everyWayOfChangingAColour()
    {
        QFETCH(QString, steps);
        QFETCH(QString, shows);
        QFETCH(QString, errors);
        QFETCH(QString, colors);
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts))
            run(step);
        for (const QString &check : shows.split(u'\n')) {
            const QString name = check.section(u'=', 0, 0), text = check.section(u'=', 1);
            if (f.form->findChild<QSlider *>(name + "_slide"))
                QCOMPARE(this->shows(name), text);
            else
                QVERIFY2(this->shows(name).contains(text), qPrintable(this->shows(name)));
        }
        const QString said[] = {messages::kHexDigit, messages::kHexLength, messages::kDigitsOnly,
                                messages::kTooLarge};
        QStringList expected;
        for (QChar m : errors)
            expected << said[QString("DLNT").indexOf(m)];
        QCOMPARE(f.messages.shown, expected);
        colors = colors.isEmpty() ? "#000000 #CD890F" : colors;
        const QImage image = f.onScreen(f.control<QWidget>("effect_text"));
        QCOMPARE(test::dominantColor(image), QColor(colors.section(u' ', 1)));
        QVERIFY(test::showsColor(image, QColor(colors.section(u' ', 0, 0))));
    }

    // Exported as a palette file from the swatch menu, and imported from a
    // swatch on, wrapping at the end.
    void colorBoxOutAndIn()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("box.gpl");
        f.fileDialogs = {[&](QString *) { return saved; }, [&] { return saved; }};
        f.start();
        ColorBoxModel &box = f.form->colorBox();
        box.fillColors(kRgbWhite);
        box.setColor(0, rgb(18, 52, 86));
        box.setColor(2, rgb(0, 0, 0));
        f.pressSwatch(0, "exportColorBox");
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("\n18 52 86\t#123456\n0 0 0\t#000000\n"));
        f.pressSwatch(box.lastIndex(), "importColorBox");
        QCOMPARE(f.swatchShows(box.lastIndex()), QColor(18, 52, 86));
        QCOMPARE(f.swatchShows(0), QColor(0, 0, 0));
        QVERIFY(f.messages.shown.isEmpty());
    }

    // The program's own colour dialog opens on black, then on the colour last
    // confirmed; a cancel keeps that colour.
    void qtColorDialogOpensOnTheLastConfirmedColour()
    {
        QWidget owner;
        QtColorChooser chooser(&owner);
        // The colour set in the dialog, whether it is confirmed, and the colour it opens on.
        for (const auto &[set, confirmed, opensOn] :
             {std::tuple{QColor(10, 20, 30), true, QColor(Qt::black)},
              {QColor(Qt::red), false, QColor(10, 20, 30)}}) {
            QColor openedOn;
            QTimer::singleShot(0, [&] {
                auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                openedOn = dialog->currentColor();
                dialog->setCurrentColor(set);
                confirmed ? dialog->accept() : dialog->reject();
            });
            QCOMPARE(chooser.choose(), confirmed);
            QCOMPARE(openedOn, opensOn);
            QVERIFY(chooser.chosenColor() == rgb(10, 20, 30));
        }
    }
};

QTEST_MAIN(ColorTest)
#include "color_test.moc"
