#include "color/color_editing.h"

#include "color/channel_codecs.h"
#include "color/color_chooser.h"
#include "color/color_code_line.h"
#include "color/text_colors.h"
#include "common/scroll_slider.h"
#include "common/text_box.h"
#include "desktop/desktop_services.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>

namespace tintavo {

namespace {

// The number a decimal box's text spells: its leading digits, 0 for none.
// The handlers only read it after validation, so it never exceeds 255 in
// practice; the cap keeps a slider assignment in range regardless.
int numberOf(const QString &text)
{
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = std::min(value * 10 + (c.unicode() - u'0'), 255);
    }
    return value;
}

const char *const kChannelNames[] = {"red", "green", "blue"};

} // namespace

ColorEditing::ColorEditing(QWidget *window, ColorPair &pair, MessageService &messages)
    : QObject(window), m_pair(pair), m_messages(messages)
{
    m_preview = window->findChild<QPlainTextEdit *>(QStringLiteral("effect_text"));
    m_codeLine = window->findChild<QLineEdit *>(QStringLiteral("txtColorInfo"));
    Q_ASSERT(m_preview && m_codeLine);
    m_preview->viewport()->installEventFilter(this);

    for (int i = 0; i < 6; ++i) {
        Channel &c = m_channels[i];
        c.role = i < 3 ? PairRole::Foreground : PairRole::Background;
        const QString base =
            QString::fromLatin1("%1_%2_").arg(i < 3 ? "fg" : "bg", kChannelNames[i % 3]);
        c.decimal = window->findChild<QLineEdit *>(base + QStringLiteral("dec"));
        c.hex = window->findChild<QLineEdit *>(base + QStringLiteral("hex"));
        c.slider = window->findChild<ScrollSlider *>(base + QStringLiteral("slide"));
        Q_ASSERT(c.decimal && c.hex && c.slider);

        // The code line hears of a change before the handlers run, so it shows
        // the boxes as they stand even while a handler's message is open.
        for (QLineEdit *box : {c.decimal, c.hex})
            connect(box, &QLineEdit::textChanged, this, &ColorEditing::updateCodeLine);
        connect(c.slider, &ScrollSlider::userMoved, this, [this, &c] { sliderMoved(c); });
        connect(c.decimal, &QLineEdit::textChanged, this, [this, &c] { decimalEdited(c); });
        connect(c.hex, &QLineEdit::textChanged, this, [this, &c] { hexEdited(c); });
        c.decimal->installEventFilter(this);
        c.hex->installEventFilter(this);
    }
    // Only the background red slider pages by 10; every other one by 5.
    m_channels[3].slider->setPageStep(10);

    // The code line is derived data, so it only offers selection and copying.
    m_codeLine->setReadOnly(true);
    m_codeLine->raise();
    showTextColors(m_codeLine, 0xC00000, 0xC0E0FF);
    updateCodeLine();
}

bool ColorEditing::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (Channel &c : m_channels) {
            if (watched == c.decimal || watched == c.hex) {
                c.decimalLeads = watched == c.decimal;
                c.hexLeads = watched == c.hex;
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == m_preview->viewport()) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            normaliseCodes();
    }
    return QObject::eventFilter(watched, event);
}

void ColorEditing::sliderMoved(Channel &c)
{
    assignText(c.decimal, QString::number(c.slider->value()));
    assignText(c.hex, hexByte(c.slider->value()));
    storeSliders(c.role);
}

void ColorEditing::decimalEdited(Channel &c)
{
    if (!c.decimalLeads)
        return;
    assignText(c.decimal, checkedDecimal(c.decimal->text(), m_messages));
    const int value = numberOf(c.decimal->text());
    assignText(c.hex, hexByte(value));
    c.slider->setValue(numberOf(c.decimal->text()));
    storeSliders(c.role);
}

void ColorEditing::hexEdited(Channel &c)
{
    if (!isHexText(c.hex->text(), m_messages) || !c.hexLeads)
        return;
    const QString upper = c.hex->text().toUpper();
    if (upper != c.hex->text()) {
        // The assignment runs this handler again on the upper-case text, which
        // completes the update; repeating it here would only show a second
        // message for a text that is too long.
        assignText(c.hex, upper);
    } else {
        assignText(c.decimal, QString::number(hexValue(c.hex->text(), m_messages)));
        c.slider->setValue(numberOf(c.decimal->text()));
        storeSliders(c.role);
    }
    // Typing goes on after the last character even when the text was replaced.
    c.hex->setCursorPosition(int(c.hex->text().size()));
}

void ColorEditing::storeSliders(PairRole role)
{
    m_pair.setColor(role, RGB(channel(role, 0).slider->value(), channel(role, 1).slider->value(),
                              channel(role, 2).slider->value()));
}

void ColorEditing::loadColor(PairRole role, ColorValue color)
{
    color &= 0xFFFFFF;
    for (int i = 0; i < 3; ++i) {
        Channel &c = channel(role, i);
        const int value = (color >> (8 * i)) & 0xFF;
        assignText(c.decimal, QString::number(value));
        c.slider->setValue(value);
        assignText(c.hex, hexByte(value));
    }
    // A box that had the focus last recomputes the pair from the sliders as its
    // text is assigned, while the later channels still hold their old values;
    // the whole colour is stored once every channel is loaded.
    m_pair.setColor(role, color);
}

void ColorEditing::updateCodeLine()
{
    const auto &ch = m_channels;
    const ChannelTexts texts{
        ch[0].decimal->text(), ch[1].decimal->text(), ch[2].decimal->text(), ch[0].hex->text(),
        ch[1].hex->text(),     ch[2].hex->text(),     ch[3].decimal->text(), ch[4].decimal->text(),
        ch[5].decimal->text(), ch[3].hex->text(),     ch[4].hex->text(),     ch[5].hex->text(),
    };
    assignText(m_codeLine, colorCodeLine(texts));
}

void ColorEditing::chooseColor(PairRole role, ColorChooser &dialog)
{
    if (!dialog.choose())
        return;
    loadColor(role, dialog.chosenColor());
}

void ColorEditing::normaliseChannel(Channel &c)
{
    assignText(c.hex, padHexDigit(c.hex->text()));
    assignText(c.decimal, QString::number(hexValue(c.hex->text(), m_messages)));
    c.slider->setValue(numberOf(c.decimal->text()));
}

void ColorEditing::normaliseCodes()
{
    for (int i = 0; i < 3; ++i)
        normaliseChannel(channel(PairRole::Foreground, i));
    for (Channel &c : m_channels) {
        if (c.hex->text().isEmpty())
            assignText(c.hex, QStringLiteral("00"));
    }
    for (int i = 0; i < 3; ++i)
        normaliseChannel(channel(PairRole::Background, i));
    // A box holding a rejected text reads 0 now; the preview shows what the
    // sliders say, as after any other change.
    storeSliders(PairRole::Foreground);
    storeSliders(PairRole::Background);
}

} // namespace tintavo
