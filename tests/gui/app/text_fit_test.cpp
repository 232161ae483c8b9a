// Every window and box a user can reach, in the program's look at the test's
// scale factor: the ink of every text lies inside the part of its control the
// style gives to text, clear of the controls above it and of sibling texts.
#include "colorbox/color_box_model.h"
#include "main_window_fixture.h"
#include "mainwin/layout_rule.h"
#include "picker/picker_window.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QStyleOption>
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace tintavo;

namespace {

// The ink of `text` in `w`'s font laid out as a text document does, wrapped at
// `width` (none when negative) and placed in `in` as the painter places it:
// glyphs on whole pixels, the pen's position rounded half up.
QRect placed(QWidget *w, const QString &text, bool rich, qreal width, Qt::Alignment align,
             const QRect &in)
{
    QTextDocument doc;
    doc.setDefaultFont(w->font());
    doc.setDocumentMargin(0);
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(width < 0 ? QTextOption::NoWrap : QTextOption::WordWrap);
    doc.setDefaultTextOption(option);
    rich ? doc.setHtml(text) : doc.setPlainText(text);
    doc.setTextWidth(width);
    QRectF ink;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QPointF at = doc.documentLayout()->blockBoundingRect(b).topLeft();
        for (int line = 0; line < b.layout()->lineCount(); ++line)
            for (const QGlyphRun &run : b.layout()->lineAt(line).glyphRuns())
                for (qsizetype i = 0; i < run.glyphIndexes().size(); ++i)
                    ink |= run.rawFont()
                               .boundingRect(run.glyphIndexes()[i])
                               .translated(run.positions()[i] + at);
    }
    align = QStyle::visualAlignment(w->layoutDirection(), align);
    const QSizeF room =
        QSizeF(in.size()) - QSizeF(width < 0 ? doc.idealWidth() : width, doc.size().height());
    const auto share = [&](Qt::Alignment middle, Qt::Alignment end) {
        return align & middle ? 0.5 : align & end ? 1.0 : 0.0;
    };
    ink.translate(in.topLeft() + QPointF(room.width() * share(Qt::AlignHCenter, Qt::AlignRight),
                                         room.height() * share(Qt::AlignVCenter, Qt::AlignBottom)));
    return QRect(QPoint(std::floor(ink.left() + 0.5), std::floor(ink.top() + 0.5)),
                 ink.size().toSize());
}

// Where the control's text goes and the ink of it there, in control
// coordinates; an empty area for a control without text.
std::pair<QRect, QRect> textBox(QWidget *w)
{
    const auto caption = [](QString s) { return s.replace(QRegularExpression("&(.)"), "\\1"); };
    if (auto *label = qobject_cast<QLabel *>(w); label && !label->text().isEmpty()) {
        const int m = label->margin();
        const QRect area =
            label->contentsRect().adjusted(m + std::max(label->indent(), 0), m, -m, -m);
        const bool rich =
            label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        return {area, placed(w, label->text(), rich, label->wordWrap() ? area.width() : -1,
                             label->alignment(), area)};
    }
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
        const QRect area = edit->style()
                               ->subElementRect(QStyle::SE_LineEditContents, &opt, edit)
                               .marginsRemoved(edit->textMargins());
        // The line edit's own margins and its centring of one line.
        const QRect line = area.adjusted(2, 1, -2, -1);
        const int top = line.top() + (line.height() - edit->fontMetrics().height() + 1) / 2;
        return {area, placed(w, edit->text(), false, -1,
                             edit->alignment() & Qt::AlignHorizontal_Mask, line)
                          .translated(0, top - line.top())};
    }
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const bool check = qobject_cast<QCheckBox *>(w);
        const QRect area = w->style()->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &opt, w);
        const QRect ink = placed(w, caption(button->text()), false, -1,
                                 check ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter, area);
        if (!check)
            return {area, ink};
        // The box is drawn as much as the text: both must show whole.
        return {w->rect(), ink | w->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, w)};
    }
    if (auto *frame = qobject_cast<QGroupBox *>(w); frame && !frame->title().isEmpty()) {
        QStyleOptionGroupBox opt;
        opt.initFrom(frame);
        opt.text = frame->title();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &opt,
                                                           QStyle::SC_GroupBoxLabel, frame);
        return {w->rect(), placed(w, caption(frame->title()), false, -1, Qt::AlignCenter, title)};
    }
    return {};
}

// Every text of `window` fits; the failures, one line each.
QStringList misfits(QWidget *window)
{
    QStringList found;
    QHash<QWidget *, QRect> inParent; // each text's ink in its parent's coordinates
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        const auto [area, ink] = textBox(w);
        if (area.isEmpty())
            continue;
        const QString name =
            w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
        if (!area.contains(ink))
            found << u"%1: text %2 outside %3"_s.arg(name, QDebug::toString(ink),
                                                     QDebug::toString(area));
        const QRect mapped = ink.translated(w->pos());
        if (!w->parentWidget()->rect().contains(mapped))
            found << u"%1: text cut by its container"_s.arg(name);
        // Only a control that fills its background hides what lies under it.
        const auto siblings =
            w->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *above : siblings.sliced(siblings.indexOf(w) + 1))
            if (above->isVisibleTo(window) && above->autoFillBackground() &&
                above->geometry().intersects(mapped))
                found << u"%1: text covered by %2"_s.arg(name, above->objectName());
        for (const auto &[other, at] : inParent.asKeyValueRange())
            if (other->parentWidget() == w->parentWidget() &&
                at.adjusted(-1, -1, 1, 1).intersects(mapped))
                found << u"%1: text touches %2's"_s.arg(name, other->objectName());
        inParent.insert(w, mapped);
    }
    // A message box is wide enough for the window manager to show its title
    // whole beside its icon and buttons.
    if (auto *box = qobject_cast<QMessageBox *>(window)) {
        const int needed = box->fontMetrics().horizontalAdvance(box->windowTitle()) + 200;
        if (box->width() < needed)
            found << u"title needs %1 px, box %2 px"_s.arg(needed).arg(box->width());
    }
    return found;
}

} // namespace

class TextFitTest : public QObject
{
    Q_OBJECT

    test::MainWindowFixture f;
    QStringList found;

    void check(QWidget *window, const QString &what)
    {
        QVERIFY2(window && QTest::qWaitForWindowExposed(window), qPrintable(what));
        for (const QString &misfit : misfits(window))
            found << what + u": "_s + misfit;
    }

    // Does what opens a message box, and checks the box.
    void checkBox(const QString &what, const std::function<void()> &open)
    {
        test::answerBox(open, [&](QMessageBox *box) { check(box, what + u" \""_s + box->text()); });
    }

private slots:
    void cleanup() { f.reset(); }

    void everyTextFits()
    {
        f.realBoxes = true;
        f.start();
        // As designed, not fitted to a screen smaller than that, where it scrolls.
        f.form->resize(twipsToPixels(kDesignClientWidth), twipsToPixels(kDesignClientHeight));
        check(f.form.get(), u"main window"_s);
        for (auto [button, dialog] : {std::pair{"exit_me", "FrmSet"}, {"about_me", "frmAbout"}}) {
            f.press(button);
            check(f.control<QWidget>(dialog), dialog);
        }
        checkBox(u"About notice"_s, [&] { f.press("cmdSysInfo"); });
        // Each error box, and the question before a random fill.
        for (const QString &typed :
             u"fg_red_hex=G fg_red_hex=ABC fg_red_dec=x fg_red_dec=300"_s.split(u' '))
            checkBox(typed, [&] { f.typeOver(typed.section(u'=', 0, 0), typed.section(u'=', 1)); });
        checkBox(u"question"_s, [&] { f.press("show_help"); });
        // The picker at a long position, and with each thing the desktop may deny.
        f.sampler.pointer = QPoint(1501, 1101);
        f.sampler.pixels[f.sampler.pointer] = rgb(0xCD, 0x89, 0x0F);
        using R = HotKeyResult;
        for (const auto &[what, answer, arrows, screen] :
             {std::tuple{"picker", R::Registered, R::Registered, true},
              {"picker, key taken", R::Taken, R::Registered, true},
              {"picker, arrows taken", R::Registered, R::Taken, true},
              {"picker, no hot keys", R::Unsupported, R::Registered, true},
              {"picker, no screen", R::Registered, R::Registered, false}}) {
            f.hotKey.answer = answer;
            f.nudgeAnswer = arrows;
            f.sampler.isAvailable = screen;
            f.press("cmdMouse");
            PickerWindow *picker = f.form->picker();
            QTRY_VERIFY(!screen ||
                        test::child<QLabel>(picker, "lblData(0)")->text().endsWith("1501,1101"));
            check(picker, what);
            if (screen && answer == R::Registered) { // a notice and a capture under the instruction
                picker->freezeLater(10);
                f.session->colorBox().setNextCaptureSlot(63);
                check(picker, what + u", counting down"_s);
                f.hotKey.press();
                check(picker, what + u", a colour stored"_s);
            }
            picker->close();
            QTRY_VERIFY(!f.form->picker());
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TextFitTest)
#include "text_fit_test.moc"
