// The colour pair as the user edits and inspects it in the main window.
#include "main_window_fixture.h"

#include "color/channel_codecs.h"
#include "color/palette_ramp.h"
#include "color/preview_inspector.h"
#include "color/qt_color.h"
#include "color/qt_color_chooser.h"
#include "color/vision_simulation.h"
#include "colorbox/color_box_model.h"

#include <QClipboard>
#include <QColorDialog>
#include <QLabel>
#include <QScrollBar>

#include <sys/stat.h>

using namespace tintavo;

class ColorTest;

namespace {

// One thing a user does, named for a failure.
struct Step
{
    QString name;
    std::function<void(ColorTest &)> run;
};

// What the user reads: a channel's three editors, or a text that a control
// (or the clipboard) holds somewhere in it.
struct Shows
{
    QString control;
    QString text;
    QString hex = {};
    int slider = -1; // -1: not a channel
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(QList<Shows>)

class ColorTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;

    // Types over a box's whole text, as after a click into it, or on after what it holds.
    static Step type(const QString &box, const QString &text)
    {
        return {box + u' ' + text, [=](ColorTest &t) { t.f.typeOver(box, text); }};
    }
    static Step typeOn(const QString &box, const QString &text)
    {
        return {box + u' ' + text, [=](ColorTest &t) { QTest::keyClicks(t.f.control(box), text); }};
    }
    static Step drag(const QString &name, int to)
    {
        return {name, [=](ColorTest &t) {
                    auto *slider = t.f.control<QSlider>(name);
                    slider->setSliderDown(true);
                    slider->setSliderPosition(to);
                    slider->setSliderDown(false);
                }};
    }
    static Step key(const QString &control, QKeyCombination k)
    {
        return {control, [=](ColorTest &t) {
                    QTest::keyClick(t.f.control<QWidget>(control), k.key(), k.keyboardModifiers());
                }};
    }
    static Step previewMenu(const QString &entry)
    {
        return {entry, [=](ColorTest &t) {
                    std::unique_ptr<QMenu> menu(t.f.form->previewInspector().createContextMenu({}));
                    for (QAction *a : menu->findChildren<QAction *>())
                        if (a->text() == entry)
                            a->trigger();
                }};
    }
    // Opens the colour dialog with a button (or an Alt key) and answers `color`
    // (none: cancel).
    static Step dialog(const QString &button, const QString &color, Qt::Key altKey = {})
    {
        return {button + u' ' + color, [=](ColorTest &t) {
                    t.f.colorChooser.answer =
                        color.isEmpty() ? std::nullopt : std::optional(toRgb(QColor(color)));
                    t.f.colorChooser.asked = false;
                    if (altKey)
                        QTest::keyClick(QApplication::focusWidget(), altKey, Qt::AltModifier);
                    else
                        t.f.press(button);
                    QTRY_VERIFY(t.f.colorChooser.asked);
                }};
    }
    // Chooses a swatch command on swatch 3 of `color`, or with Ctrl+`key` on swatch 0.
    static Step swatch(const QString &command, const QString &color, Qt::Key key = {})
    {
        return {command + u' ' + color, [=](ColorTest &t) {
                    t.f.session->colorBox().setColor(key ? 0 : 3, toRgb(QColor(color)));
                    if (key)
                        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
                    else
                        t.f.pressSwatch(3, command);
                }};
    }
    // Puts `text` on the clipboard and presses Ctrl+V in `control` (over all
    // of a box's text).
    static Step paste(const QString &control, const QString &text)
    {
        return {QStringLiteral("paste ") + text + QStringLiteral(" into ") + control,
                [=](ColorTest &t) {
                    QGuiApplication::clipboard()->setText(text);
                    QWidget *w = t.f.control<QWidget>(control);
                    w->setFocus();
                    if (auto *box = qobject_cast<QLineEdit *>(w))
                        box->selectAll();
                    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
                }};
    }
    // Chooses the paste item of a channel box's own menu, with `text` on the clipboard.
    static Step boxMenuPaste(const QString &box, const QString &text)
    {
        return {QStringLiteral("menu paste ") + text + QStringLiteral(" into ") + box,
                [=](ColorTest &t) {
                    QGuiApplication::clipboard()->setText(text);
                    QTimer::singleShot(0, [] {
                        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                        QVERIFY(menu);
                        for (QAction *a : menu->actions())
                            if (a->text().startsWith(QStringLiteral("粘贴")))
                                a->trigger();
                        menu->close();
                    });
                    QLineEdit *edit = t.f.control(box);
                    const QPoint at(2, 2);
                    QContextMenuEvent event(QContextMenuEvent::Mouse, at, edit->mapToGlobal(at));
                    QApplication::sendEvent(edit, &event);
                }};
    }
    // Chooses `entry` in the code line's menu, with `text` on the clipboard.
    static Step codeLineMenu(const QString &entry, const QString &text)
    {
        return {entry + u' ' + text, [=](ColorTest &t) {
                    QGuiApplication::clipboard()->setText(text);
                    auto *line = t.f.control("txtColorInfo");
                    QTimer::singleShot(0, [entry] {
                        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                        QVERIFY(menu);
                        for (QAction *a : menu->actions())
                            if (a->text() == entry)
                                a->trigger();
                        menu->close();
                    });
                    emit line->customContextMenuRequested(QPoint(2, 2));
                }};
    }
    static Step clickPreview()
    {
        return {"click", [](ColorTest &t) {
                    QTest::mouseClick(t.f.control<QPlainTextEdit>("effect_text")->viewport(),
                                      Qt::LeftButton, {}, QPoint(20, 20));
                }};
    }

    QString textOf(const QString &control) const
    {
        if (control == u"clipboard")
            return QGuiApplication::clipboard()->text();
        if (control == u"notices")
            return f.messages.notices.join(u'\n');
        return f.control<QWidget>(control)->property("text").toString();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.reset(); }

    // The steps; what the user then reads; the errors shown, in order, and
    // the code line while each was open; the preview's text and background.
    void everyWayOfChangingAColour_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QList<Shows>>("shows");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("linesWhileOpen");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        const QColor black(0, 0, 0), start(0xCD, 0x89, 0x0F);
        const QString pairs[] = {"fg", "bg"}, channels[] = {"red", "green", "blue"};
        for (int p = 0; p < 2; ++p)
            for (int ch = 0; ch < 3; ++ch) {
                const QString name = pairs[p] + u'_' + channels[ch];
                QColor c = p ? start : black;
                ch == 0 ? c.setRed(100) : ch == 1 ? c.setGreen(100) : c.setBlue(100);
                const QList<Step> ways[] = {{type(name + "_dec", "100")},
                                            {type(name + "_hex", "64")},
                                            {drag(name + "_slide", 100)}};
                for (const QList<Step> &steps : ways)
                    QTest::newRow(qPrintable(steps[0].name))
                        << steps << QList<Shows>{{name, "100", "64", 100}} << QStringList()
                        << QStringList() << (p ? black : c) << (p ? c : start);
            }

        // Earlier typing into a channel makes no difference to loads into it.
        const QList<Step> typed{type("fg_red_dec", "0"), type("bg_red_dec", "205")};
        const QColor protanopia = toQColor(simulateVision(rgb(255, 0, 0), VisionMode::Protanopia));
        const QString line = "[当前颜色设置]   前景色RGB(0，0，0)[#000000]             ";
        using L = QList<Step>;
        using S = QList<Shows>;
        QTest::newRow("at start")
            << L{}
            << S{{"bg_red", "205", "CD", 205},
                 {"contrast_info", "对比度 7.18:1  正文 AA✓ AAA✓  大字 AA✓ AAA✓"},
                 {"txtColorInfo", line + "背景色：RGB(205，137，15) [#CD890F]"}}
            << QStringList() << QStringList() << black << start;
        // A colour code pasted over a colour's group, into one of its boxes
        // or from the code line's menu sets that whole colour; with what it
        // had to give up said. What is no colour changes nothing.
        const QString noColour = "错误：剪贴板里的“%1”不是颜色代码，颜色没有改动。可以粘贴 "
                                 "#RRGGBB、rgb()、hsl()、oklch() 等 CSS 颜色或 CSS 颜色名。";
        QTest::newRow("paste over the foreground's group")
            << L{paste("fg_green_slide", "hsl(207 44% 49%)")}
            << S{{"fg_green", "130", "82", 130}, {"txtColorInfo", "[#4682B4]"}} << QStringList()
            << QStringList() << QColor(0x46, 0x82, 0xB4) << start;
        QTest::newRow("a whole code pasted into one box")
            << L{paste("bg_red_hex", "#4682B4")}
            << S{{"bg_red", "70", "46", 70}, {"bg_blue", "180", "B4", 180}} << QStringList()
            << QStringList() << black << QColor(0x46, 0x82, 0xB4);
        QTest::newRow("a channel pasted into its box")
            << L{paste("bg_red_hex", "7f")} << S{{"bg_red", "127", "7F", 127}} << QStringList()
            << QStringList() << black << QColor(0x7F, 0x89, 0x0F);
        QTest::newRow("alpha dropped, said")
            << L{paste("bg_blue_slide", "rgb(70 130 180 / 50%)")}
            << S{{"bg_green", "130", "82", 130}, {"notices", "透明度已舍去"}} << QStringList()
            << QStringList() << black << QColor(0x46, 0x82, 0xB4);
        QTest::newRow("no colour pasted")
            << L{paste("fg_red_slide", "nope")} << S{{"fg_red", "0", "00", 0}}
            << QStringList{noColour.arg("nope")} << QStringList{line} << black << start;
        // Into a channel box goes a whole colour or that box's own kind of
        // text; anything else is refused whole, by Ctrl+V or the box's menu.
        const QString bgLine = line + "背景色：RGB(205，137，15) [#CD890F]";
        QTest::newRow("no colour pasted into a box")
            << L{paste("bg_green_dec", "not a colour at all")} << S{{"bg_green", "137", "89", 137}}
            << QStringList{noColour.arg("not a colour at all")} << QStringList{bgLine} << black
            << start;
        QTest::newRow("three hex digits pasted, refused")
            << L{paste("bg_red_hex", "7fe")} << S{{"bg_red", "205", "CD", 205}}
            << QStringList{noColour.arg("7fe")} << QStringList{bgLine} << black << start;
        QTest::newRow("digits pasted into a decimal box")
            << L{paste("fg_blue_dec", "200\n")} << S{{"fg_blue", "200", "C8", 200}} << QStringList()
            << QStringList() << QColor(0, 0, 200) << start;
        QTest::newRow("box menu paste, refused")
            << L{boxMenuPaste("fg_green_hex", "12 px")} << S{{"fg_green", "0", "00", 0}}
            << QStringList{noColour.arg("12 px")} << QStringList{line} << black << start;
        QTest::newRow("code line menu, either colour")
            << L{codeLineMenu("粘贴为前景色", "steelblue"),
                 codeLineMenu("粘贴为背景色", "oklch(1 0 0)")}
            << S{{"fg_blue", "180", "B4", 180}} << QStringList() << QStringList()
            << QColor(0x46, 0x82, 0xB4) << QColor(Qt::white);
        QTest::newRow("hex typing goes on after the caret")
            << L{type("fg_red_hex", "a"), typeOn("fg_red_hex", "b")}
            << S{{"fg_red", "171", "AB", 171}} << QStringList() << QStringList()
            << QColor(0xAB, 0, 0) << start;
        QTest::newRow("hex lone F stays as typed")
            << L{type("fg_red_hex", "F")}
            << S{{"fg_red", "15", "F", 15}, {"txtColorInfo", "前景色RGB(15，0，0)[#F0000]"}}
            << QStringList() << QStringList() << QColor(15, 0, 0) << start;
        QTest::newRow("hex g is refused")
            << L{type("bg_blue_hex", "g")} << S{{"bg_blue", "15", "g", 15}}
            << QStringList{messages::kHexDigit}
            << QStringList{line + "背景色：RGB(205，137，15) [#CD89g]"} << black << start;
        QTest::newRow("dec 300") << L{type("bg_green_dec", "30"), typeOn("bg_green_dec", "0")}
                                 << S{{"bg_green", "255", "FF", 255},
                                      {"txtColorInfo", "背景色：RGB(205，255，15) [#CDFF0F]"}}
                                 << QStringList{messages::kTooLarge}
                                 << QStringList{line + "背景色：RGB(205，300，15) [#CD1E0F]"}
                                 << black << QColor(205, 255, 15);
        QTest::newRow("dec 1x") << L{type("fg_green_dec", "1x")} << S{{"fg_green", "0", "00", 0}}
                                << QStringList{messages::kDigitsOnly}
                                << QStringList{"前景色RGB(0，1x，0)[#000100]"} << black << start;
        QTest::newRow("dec emptied")
            << L{type("bg_red_dec", "1"), typeOn("bg_red_dec", "\b")} << S{{"bg_red", "", "00", 0}}
            << QStringList() << QStringList() << black << QColor(0, 0x89, 0x0F);
        // Page Up moves a slider by its large change, an arrow key by one.
        QTest::newRow("bg red slider pages by ten")
            << L{drag("bg_red_slide", 100), key("bg_red_slide", Qt::Key_PageUp),
                 key("bg_red_slide", Qt::Key_Right)}
            << S{{"bg_red", "111", "6F", 111}} << QStringList() << QStringList() << black
            << QColor(0x6F, 0x89, 0x0F);
        QTest::newRow("fg blue slider by five")
            << L{drag("fg_blue_slide", 100), key("fg_blue_slide", Qt::Key_PageUp),
                 key("fg_blue_slide", Qt::Key_Right)}
            << S{{"fg_blue", "106", "6A", 106}} << QStringList() << QStringList()
            << QColor(0, 0, 0x6A) << start;
        QTest::newRow("colour buttons")
            << typed + L{dialog("show_fg_color", "#AA0000"), dialog("show_bg_color", "#123456")}
            << S{{"fg_red", "170", "AA", 170}, {"bg_blue", "86", "56", 86}} << QStringList()
            << QStringList() << QColor(0xAA, 0, 0) << QColor(0x12, 0x34, 0x56);
        QTest::newRow("Alt+G and Alt+B")
            << typed + L{dialog("show_fg_color", "#0000FF", Qt::Key_G),
                         dialog("show_bg_color", "#00FF00", Qt::Key_B)}
            << S{{"fg_blue", "255", "FF", 255}, {"bg_green", "255", "FF", 255}} << QStringList()
            << QStringList() << QColor(0, 0, 255) << QColor(0, 255, 0);
        QTest::newRow("dialog cancelled after a choice")
            << L{dialog("show_bg_color", "#010203"), dialog("show_bg_color", "")}
            << S{{"bg_red", "1", "01", 1}} << QStringList() << QStringList() << black
            << QColor(1, 2, 3);
        QTest::newRow("set as fore- and background")
            << typed + L{swatch("setFg", "#00AA55"), swatch("setBg", "#FFFFFF")}
            << S{{"fg_green", "170", "AA", 170}, {"bg_red", "255", "FF", 255}} << QStringList()
            << QStringList() << QColor(0, 0xAA, 0x55) << QColor(255, 255, 255);
        QTest::newRow("Ctrl+F and Ctrl+B")
            << L{swatch("setFg", "#00AA55", Qt::Key_F), swatch("setBg", "#123456", Qt::Key_B)}
            << S{{"fg_green", "170", "AA", 170}, {"bg_blue", "86", "56", 86}} << QStringList()
            << QStringList() << QColor(0, 0xAA, 0x55) << QColor(0x12, 0x34, 0x56);
        QTest::newRow("copy a swatch's code")
            << L{swatch("copySwatchCode", "#123456")} << S{{"clipboard", "#123456"}}
            << QStringList() << QStringList() << black << start;
        QTest::newRow("click pads a lone hex digit")
            << L{type("fg_red_hex", "F"), type("bg_red_dec", "205"), clickPreview()}
            << S{{"fg_red", "15", "0F", 15}} << QStringList() << QStringList() << QColor(15, 0, 0)
            << start;
        QTest::newRow("click drops leading zeros")
            << L{type("fg_red_dec", "007"), clickPreview()}
            << S{{"fg_red", "7", "07", 7}, {"txtColorInfo", "RGB(7，0，0)"}} << QStringList()
            << QStringList() << QColor(7, 0, 0) << start;
        QTest::newRow("click reports a long hex text once")
            << L{type("bg_red_hex", "FF"), typeOn("bg_red_hex", "F"), clickPreview()}
            << S{{"bg_red", "0", "FFF", 0}}
            << QStringList{messages::kHexLength, messages::kHexLength}
            << QStringList{line + "背景色：RGB(255，137，15) [#FFF890F]",
                           line + "背景色：RGB(0，137，15) [#FFF890F]"}
            << black << QColor(0, 0x89, 0x0F);
        QTest::newRow("click after a refused hex text")
            << L{type("bg_blue_hex", "g"), clickPreview()} << S{{"bg_blue", "0", "0g", 0}}
            << QStringList{messages::kHexDigit, messages::kHexDigit}
            << QStringList{line + "背景色：RGB(205，137，15) [#CD89g]",
                           line + "背景色：RGB(205，137，15) [#CD890g]"}
            << black << QColor(0xCD, 0x89, 0);
        QTest::newRow("adjusted to AA")
            << L{dialog("show_fg_color", "#777777"), dialog("show_bg_color", "#FFFFFF"),
                 previewMenu("前景色调至 AA")}
            << S{{"fg_red", "118", "76", 118}, {"contrast_info", "对比度 4.54:1"}} << QStringList()
            << QStringList() << QColor(0x76, 0x76, 0x76) << QColor(Qt::white);
        // The user's own edit since disarms it: nothing is put back behind their back.
        QTest::newRow("edited after an adjustment, undo")
            << L{dialog("show_fg_color", "#777777"), dialog("show_bg_color", "#FFFFFF"),
                 previewMenu("前景色调至 AA"), type("bg_red_dec", "250"), previewMenu("撤销调整")}
            << S{{"fg_red", "118", "76", 118}, {"bg_red", "250", "FA", 250}} << QStringList()
            << QStringList() << QColor(0x76, 0x76, 0x76) << QColor(250, 255, 255);
        QTest::newRow("APCA beside WCAG")
            << L{dialog("show_fg_color", "#888888"), dialog("show_bg_color", "#FFFFFF")}
            << S{{"contrast_info", "对比度 3.54:1  正文 AA✗ AAA✗  大字 AA✓ AAA✗  APCA Lc 63.1"}}
            << QStringList() << QStringList() << QColor(0x88, 0x88, 0x88) << QColor(Qt::white);
        QTest::newRow("protanopia in the preview only")
            << L{dialog("show_bg_color", "#FF0000"), previewMenu("红色盲")}
            << S{{"bg_red", "255", "FF", 255},
                 {"contrast_info", "[模拟红色盲] 对比度"},
                 {"txtColorInfo", "[#FF0000]"}}
            << QStringList() << QStringList() << black << protanopia;
    }

    void everyWayOfChangingAColour()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QList<Shows>, shows);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, linesWhileOpen);
        QFETCH(QColor, text);
        QFETCH(QColor, background);
        QStringList lines;
        f.messages.whileOpen = [&] { lines << textOf("txtColorInfo"); };
        for (const Step &step : steps) {
            step.run(*this);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable("at step " + step.name));
        }
        for (const Shows &s : shows) {
            if (s.slider < 0) {
                QVERIFY2(textOf(s.control).contains(s.text), qPrintable(textOf(s.control)));
                continue;
            }
            QCOMPARE(f.control(s.control + "_dec")->text(), s.text);
            QCOMPARE(f.control(s.control + "_hex")->text(), s.hex);
            QCOMPARE(f.control<QSlider>(s.control + "_slide")->value(), s.slider);
        }
        QCOMPARE(f.messages.shown, errors);
        QCOMPARE(lines.size(), linesWhileOpen.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].contains(linesWhileOpen[i]), qPrintable(lines[i]));
        const QImage image = f.onScreen(f.control<QWidget>("effect_text"));
        QCOMPARE(test::dominantColor(image), background);
        QVERIFY(test::showsColor(image, text));
    }

    // The contrast plate keeps a band of its own at the top of the preview, so
    // no text runs under it; with 显示对比度 off the text starts at the top.
    void previewTextClearsTheContrastPlate_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<bool>("plate");
        QTest::newRow("shown") << QList<Step>{} << true;
        QTest::newRow("turned off") << QList<Step>{previewMenu("显示对比度")} << false;
        QTest::newRow("off, simulating")
            << QList<Step>{previewMenu("显示对比度"), previewMenu("全色盲")} << true;
    }

    void previewTextClearsTheContrastPlate()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(bool, plate);
        for (const Step &step : steps)
            step.run(*this);
        auto *preview = f.control<QPlainTextEdit>("effect_text");
        const QRect readout = f.form->previewInspector().readout()->geometry();
        QCOMPARE(f.form->previewInspector().readout()->isVisible(), plate);
        // The rows the plate takes (or would take), left of it: black text there or not.
        const QRect band(preview->contentsRect().left(), readout.top(),
                         readout.left() - preview->contentsRect().left(), readout.height());
        const QImage image = preview->grab().toImage().copy(band);
        QCOMPARE(test::showsColor(image, Qt::black), !plate);
    }

    // On any background the preview is that colour right up to its frame line,
    // the band above the text included, and the line is a darker tone of it;
    // its scroll bar looks the same whatever the colour; the contrast plate
    // keeps its grey line and pale yellow; the code line its own colours.
    void previewBoxOnAnyBackground()
    {
        auto *preview = f.control<QPlainTextEdit>("effect_text");
        const QLabel *plate = f.form->previewInspector().readout();
        QImage firstBar;
        for (const QString paperName : {"", "#203080", "#00A000", "#FFFFFF"}) {
            if (!paperName.isEmpty())
                dialog("show_bg_color", paperName).run(*this);
            const QColor paper(paperName.isEmpty() ? "#CD890F" : paperName);
            const QImage box = f.onScreen(preview);
            const QRect text = preview->viewport()->geometry();
            const QRect band(text.left(), preview->contentsRect().top(),
                             plate->geometry().left() - text.left(),
                             text.top() - preview->contentsRect().top());
            QVERIFY(band.height() > plate->height());
            for (int y = band.top(); y <= band.bottom(); ++y)
                for (int x = band.left(); x <= band.right(); ++x)
                    QVERIFY2(box.pixelColor(x, y) == paper,
                             qPrintable(QStringLiteral("%1 at %2,%3").arg(paper.name()).arg(x).arg(y)));

            const QColor line = box.pixelColor(0, box.height() / 2);
            if (paper.hsvSaturation() > 0) {
                QVERIFY2(qAbs(line.hsvHue() - paper.hsvHue()) <= 4 &&
                             qAbs(line.hsvSaturation() - paper.hsvSaturation()) <= 12 &&
                             line.value() < paper.value() * 9 / 10 && line.value() > paper.value() / 2,
                         qPrintable(paper.name() + u' ' + line.name()));
            }

            const QScrollBar *bar = preview->verticalScrollBar();
            const QImage barImage = box.copy(QRect(bar->mapTo(preview, QPoint()), bar->size()));
            if (firstBar.isNull())
                firstBar = barImage;
            QVERIFY2(barImage == firstBar, qPrintable(paper.name()));

            const QImage plateImage = box.copy(plate->geometry());
            for (const QPoint edge : {QPoint(0, plateImage.height() / 2),
                                      QPoint(plateImage.width() - 1, plateImage.height() / 2),
                                      QPoint(plateImage.width() / 2, 0),
                                      QPoint(plateImage.width() / 2, plateImage.height() - 1)})
                QCOMPARE(plateImage.pixelColor(edge), QColor(0x80, 0x80, 0x80));
            QCOMPARE(test::dominantColor(plateImage), QColor(0xFF, 0xFF, 0xE1));
            QVERIFY(test::showsColor(plateImage, Qt::black));

            const QImage code = f.onScreen(f.control<QWidget>("txtColorInfo"));
            QCOMPARE(test::dominantColor(code), QColor(0xFF, 0xE0, 0xC0));
            QVERIFY(test::showsColor(code, QColor(0, 0, 0xC0)));
        }
    }

    // The plate sits at the top right of the text, just left of the scroll
    // bar, at start and after every resize, maximise and restore.
    void contrastPlateFollowsTheWindow()
    {
        auto *preview = f.control<QPlainTextEdit>("effect_text");
        const QLabel *plate = f.form->previewInspector().readout();
        const auto placed = [&] {
            const QRect at = plate->geometry();
            const int bar = preview->verticalScrollBar()->mapTo(preview, QPoint()).x();
            return at.right() < bar && at.right() >= bar - 6 &&
                   at.top() <= preview->contentsRect().top() + 4;
        };
        QVERIFY(placed());
        for (const int width : {1000, 1200, 700, 0, -1}) { // 0: maximised, -1: restored
            const int before = preview->width();
            width > 0    ? f.form->resize(width, 560)
            : width == 0 ? f.form->showMaximized()
                         : f.form->showNormal();
            QTRY_VERIFY(preview->width() != before);
            QTRY_VERIFY2(placed(), qPrintable(QString::number(f.form->width())));
        }
    }

    // Exported as a palette file from the swatch menu, its folder kept, and
    // imported from a swatch on, up to the end and no further. What is not a regular file (a pipe
    // would never end) or too large for a palette is refused, the box unchanged.
    void colorBoxOutAndIn()
    {
        QTemporaryDir dir;
        const QString saved = dir.filePath("box.gpl");
        QString chosen = saved;
        f.fileDialogs = {[&](QString *) { return saved; }, [&] { return chosen; }};
        f.start();
        ColorBoxModel &box = f.session->colorBox();
        box.fillColors(kRgbWhite);
        box.setColor(0, rgb(18, 52, 86));
        box.setColor(2, rgb(0, 0, 0));
        f.pressSwatch(0, "exportColorBox");
        QFile file(saved);
        QTRY_VERIFY(file.exists()); // written beside the window
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("\n18 52 86\t#123456\n0 0 0\t#000000\n"));
        // The folder is kept for the dialogs' next start.
        QTRY_VERIFY(f.readIni().contains("PaletteFolder=" + dir.path().toUtf8() + "\r\n"));
        f.pressSwatch(box.lastIndex(), "importColorBox");
        QTRY_COMPARE(f.swatchShows(box.lastIndex()), QColor(18, 52, 86));
        QCOMPARE(f.swatchShows(0), QColor(18, 52, 86));
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(f.messages.notices,
                 QStringList{"已导入 1 种颜色。\n"
                             "共有 2 种颜色，从颜色 63 到末尾只放得下 1 种，其余 1 种没有写入。"});

        const QString pipe = dir.filePath("pipe.gpl"), large = dir.filePath("large.gpl");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QFile(saved).copy(large);
        QVERIFY(QFile(large).resize(1024 * 1024 + 1));
        for (const auto &[path, reason] :
             {std::pair{pipe, "它不是普通文件（而是管道、设备或文件夹）"},
              {large, "文件大于 1 MiB，不会是调色板"}}) {
            chosen = path;
            f.pressSwatch(0, "importColorBox");
            QTRY_VERIFY(!f.messages.shown.isEmpty());
            QCOMPARE(f.messages.shown.takeFirst(),
                     QStringLiteral("无法导入“%1”，颜色盒没有改动。\n%2").arg(path, reason));
            QCOMPARE(f.swatchShows(0), QColor(18, 52, 86));
        }
    }

    // A ramp grown from a swatch fills the box from there, once the user has
    // agreed to replace what it holds, and is saved with it; near the end only
    // what fits goes in, and the user hears so. The box then goes out as a
    // Tailwind theme named after its file.
    void rampIntoTheBoxAndOut()
    {
        QTemporaryDir dir;
        const QString theme = dir.filePath("brand");
        f.fileDialogs = {[&](QString *filter) {
                             *filter = QStringLiteral("Tailwind v4 主题 (*.css)");
                             return theme;
                         },
                         [] { return QString(); }};
        f.start();
        ColorBoxModel &box = f.session->colorBox();
        box.fillColors(kRgbWhite);
        const Rgb brand = rgb(0x1D, 0x4E, 0xD8);
        box.setColor(1, brand);
        box.setColor(box.lastIndex() - 1, brand);
        f.pressSwatch(box.lastIndex() - 1, "makeRamp");
        QCOMPARE(f.swatchShows(box.lastIndex() - 1), toQColor(brand)); // 取消: nothing written
        f.questions.choice = 0;                                        // 覆盖
        f.pressSwatch(box.lastIndex() - 1, "makeRamp");
        QCOMPARE(f.messages.notices,
                 QStringList{QStringLiteral("共有 11 种颜色，从颜色 %1 到末尾只放得下 2 种，"
                                            "其余 9 种没有写入。")
                                 .arg(box.lastIndex() - 1)});
        f.pressSwatch(1, "makeRamp");
        Ramp ramp = rampOf(brand);
        QCOMPARE(f.swatchShows(1 + ramp.ownStep), toQColor(brand));
        QCOMPARE(f.swatchShows(1), toQColor(ramp.steps[0]));
        QCOMPARE(f.swatchShows(box.lastIndex()), toQColor(ramp.steps[1]));

        f.pressSwatch(0, "exportColorBox");
        QFile file(theme + ".css");
        QTRY_VERIFY(file.exists());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray css = file.readAll();
        QVERIFY(css.startsWith("@theme {\n  --color-brand-50: #"));
        QVERIFY(css.contains(QStringLiteral("  --color-brand-%1: #1d4ed8;\n")
                                 .arg(kTailwindSteps[size_t(ramp.ownStep)])
                                 .toLatin1()));

        // A harmony goes in the same way, from the submenu.
        f.pressSwatch(1 + ramp.ownStep);
        f.form->findChild<QAction *>("harmony_triadic")->trigger();
        const std::vector<Rgb> triad = harmonyOf(brand, Harmony::Triadic);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(f.swatchShows(1 + ramp.ownStep + i), toQColor(triad[size_t(i)]));
        for (int i = 0; i < 3; ++i)
            ramp.steps[size_t(ramp.ownStep + i)] = triad[size_t(i)];

        const QByteArray ini = f.savedAtExit();
        for (int i = 0; i < kTailwindStepCount; ++i) {
            const Rgb c = ramp.steps[size_t(i)];
            QVERIFY2(ini.contains(QStringLiteral("Color%1=%2\r\n")
                                      .arg(1 + i)
                                      .arg(c.red + 256 * c.green + 65536 * c.blue)
                                      .toLatin1()),
                     ini.constData());
        }
    }

    // The copy formats a user wrote into the settings file are offered for
    // both colours once the program has started; a line it cannot read is not.
    void ownCopyFormatsFromTheSettingsFile()
    {
        f.reset();
        f.writeIni({"[CopyFormats]", "Format2=Sass|$c: #{hex};", "Format1=junk"});
        f.start();
        QStringList offered;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction *entry : menu->actions())
                if (entry->menu())
                    for (QAction *form : entry->menu()->actions())
                        if (form->text().startsWith(u"Sass") || form->text().startsWith(u"junk"))
                            (offered << form->text()), form->trigger();
            menu->close();
        });
        auto *line = f.control("txtColorInfo");
        emit line->customContextMenuRequested(QPoint(2, 2));
        QCOMPARE(offered, (QStringList{"Sass：$c: #000000;", "Sass：$c: #cd890f;"}));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("$c: #cd890f;"));
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
