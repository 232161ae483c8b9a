#include "color/color_editing.h"

#include "color/channel_codecs.h"
#include "color/color_chooser.h"
#include "color/color_code_line.h"
#include "color/text_colors.h"
#include "common/scroll_slider.h"
#include "common/text_box.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace tintavo {

namespace {

constexpr PairRole kRoles[] = {PairRole::Foreground, PairRole::Background};

} // namespace

ColorEditing::ColorEditing(const ColorEditingControls &controls, ColorPair &pair,
                           MessageService &messages, QObject *parent)
    : QObject(parent), m_controls(controls), m_pair(pair), m_messages(messages)
{
    m_controls.preview->viewport()->installEventFilter(this);
    for (PairRole role : kRoles) {
        for (int i = 0; i < 3; ++i) {
            const ChannelEditors &e = m_controls.channel(role, i);
            connect(e.slider, &ScrollSlider::userMoved, this,
                    [this, role, i] { sliderMoved(role, i); });
            connect(e.decimal, &QLineEdit::textEdited, this,
                    [this, role, i] { decimalEdited(role, i); });
            connect(e.hex, &QLineEdit::textEdited, this, [this, role, i] { hexEdited(role, i); });
        }
    }
    // Only the background red slider pages by 10; every other one by 5.
    m_controls.background[0].slider->setPageStep(10);

    // The code line is derived data, so it only offers selection and copying.
    m_controls.codeLine->setReadOnly(true);
    m_controls.codeLine->raise();
    showTextColors(m_controls.codeLine, rgb(0, 0, 0xC0), rgb(0xFF, 0xE0, 0xC0));

    for (PairRole role : kRoles) {
        m_drawn[ColorPair::index(role)] = m_pair.color(role);
        for (int i = 0; i < 3; ++i)
            texts(role, i) = ChannelTexts::of(m_pair.color(role).channel(i));
    }
    connect(&m_pair, &ColorPair::changed, this, &ColorEditing::pairChanged);
    showPair();
}

bool ColorEditing::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched == m_controls.preview->viewport() &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        normaliseCodes();
    return QObject::eventFilter(watched, event);
}

ChannelTexts &ColorEditing::texts(PairRole role, int channel)
{
    return m_texts[ColorPair::index(role)][size_t(channel)];
}

void ColorEditing::pairChanged()
{
    for (PairRole role : kRoles) {
        Rgb &drawn = m_drawn[ColorPair::index(role)];
        if (drawn == m_pair.color(role))
            continue;
        drawn = m_pair.color(role);
        for (int i = 0; i < 3; ++i)
            texts(role, i) = ChannelTexts::of(drawn.channel(i));
    }
    showPair();
}

void ColorEditing::write(PairRole role, int channel, int value, const ChannelTexts &shown)
{
    texts(role, channel) = shown;
    Rgb &drawn = m_drawn[ColorPair::index(role)];
    drawn = drawn.withChannel(channel, value);
    if (m_pair.color(role) == drawn)
        showPair();
    else
        m_pair.setColor(role, drawn); // which draws it, keeping these texts
}

void ColorEditing::showPair()
{
    for (PairRole role : kRoles) {
        for (int i = 0; i < 3; ++i) {
            const ChannelEditors &e = m_controls.channel(role, i);
            const QSignalBlocker quietDecimal(e.decimal), quietHex(e.hex), quietSlider(e.slider);
            assignText(e.decimal, texts(role, i).decimal);
            assignText(e.hex, texts(role, i).hex);
            e.slider->setValue(m_pair.color(role).channel(i));
        }
    }
    assignText(m_controls.codeLine, colorCodeLine(m_texts));
}

void ColorEditing::sliderMoved(PairRole role, int channel)
{
    const int value = m_controls.channel(role, channel).slider->value();
    write(role, channel, value, ChannelTexts::of(value));
}

void ColorEditing::decimalEdited(PairRole role, int channel)
{
    const QString typed = m_controls.channel(role, channel).decimal->text();
    // The code line shows what the user typed while a message about it is open.
    texts(role, channel).decimal = typed;
    showPair();
    const QString checked = checkedDecimal(typed, m_messages);
    // Digits spelling at most 255 by now; the empty text counts as 0.
    const int value = checked.toInt();
    write(role, channel, value, {checked, hexByte(value)});
}

void ColorEditing::hexEdited(PairRole role, int channel)
{
    QLineEdit *box = m_controls.channel(role, channel).hex;
    if (takeHexText(role, channel, box->text())) {
        // Typing goes on after the last character even when the text was
        // upper-cased.
        box->setCursorPosition(int(box->text().size()));
    }
}

bool ColorEditing::takeHexText(PairRole role, int channel, const QString &text)
{
    const auto show = [&](const QString &hex) {
        texts(role, channel).hex = hex;
        showPair();
    };
    show(text);
    if (!isHexText(text, m_messages))
        return false;
    const QString upper = text.toUpper();
    show(upper);
    const int value = hexValue(upper, m_messages);
    write(role, channel, value, {QString::number(value), upper});
    return true;
}

void ColorEditing::chooseColor(PairRole role, ColorChooser &dialog)
{
    if (dialog.choose())
        m_pair.setColor(role, dialog.chosenColor());
}

void ColorEditing::normaliseChannel(PairRole role, int channel)
{
    const QString hex = texts(role, channel).hex;
    // Only a lone digit can be padded, and only typing into the hexadecimal
    // box leaves one: the padded text is checked as that box's edits are.
    if (const QString padded = padHexDigit(hex); padded != hex)
        takeHexText(role, channel, padded);
    // A text longer than two characters, or one refused, reads 0 here.
    const QString shown = texts(role, channel).hex;
    const int value = hexValue(shown, m_messages);
    write(role, channel, value, {QString::number(value), shown});
}

void ColorEditing::normaliseCodes()
{
    for (int i = 0; i < 3; ++i)
        normaliseChannel(PairRole::Foreground, i);
    for (PairRole role : kRoles) {
        for (int i = 0; i < 3; ++i) {
            if (texts(role, i).hex.isEmpty()) {
                texts(role, i).hex = QStringLiteral("00");
                showPair();
            }
        }
    }
    for (int i = 0; i < 3; ++i)
        normaliseChannel(PairRole::Background, i);
}

} // namespace tintavo
