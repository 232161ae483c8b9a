#include "color/color_editing.h"

#include "color/channel_codecs.h"
#include "color/color_chooser.h"
#include "color/color_code_line.h"
#include "common/qt_color.h"
#include "common/scroll_slider.h"
#include "common/text_box.h"
#include "desktop/desktop_services.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace tintavo {

namespace {

void setPaletteColor(QWidget *w, QPalette::ColorRole role, ColorValue color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Active, role, toQColor(color));
    p.setColor(QPalette::Inactive, role, toQColor(color));
    w->setPalette(p);
}

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

ColorValue textColorOf(const QWidget *w)
{
    return fromQColor(w->palette().color(QPalette::Active, QPalette::Text));
}

ColorValue baseColorOf(const QWidget *w)
{
    return fromQColor(w->palette().color(QPalette::Active, QPalette::Base));
}

void setTextColorOf(QWidget *w, ColorValue color)
{
    setPaletteColor(w, QPalette::Text, color);
}

void setBaseColorOf(QWidget *w, ColorValue color)
{
    setPaletteColor(w, QPalette::Base, color);
}

ColorEditing::ColorEditing(QWidget *window, MessageService &messages)
    : QObject(window), m_messages(messages)
{
    for (int i = 0; i < 6; ++i) {
        Channel &c = m_channels[i];
        c.pair = i < 3 ? Pair::Fg : Pair::Bg;
        const QString base = QString::fromLatin1("%1_%2_").arg(c.pair == Pair::Fg ? "fg" : "bg",
                                                               kChannelNames[i % 3]);
        c.dec = window->findChild<QLineEdit *>(base + QStringLiteral("dec"));
        c.hex = window->findChild<QLineEdit *>(base + QStringLiteral("hex"));
        c.slide = window->findChild<ScrollSlider *>(base + QStringLiteral("slide"));
        Q_ASSERT(c.dec && c.hex && c.slide);

        connect(c.slide, &ScrollSlider::Scroll, this, [this, &c] { slide_Scroll(c); });
        connect(c.dec, &QLineEdit::textChanged, this, [this, &c] { dec_Change(c); });
        connect(c.hex, &QLineEdit::textChanged, this, [this, &c] { hex_Change(c); });
        c.dec->installEventFilter(this);
        c.hex->installEventFilter(this);
    }
    // Only the background red slider pages by 10; every other one by 5.
    m_channels[3].slide->setPageStep(10);

    m_effectText = window->findChild<QPlainTextEdit *>(QStringLiteral("effect_text"));
    m_colorInfo = window->findChild<QLineEdit *>(QStringLiteral("txtColorInfo"));
    Q_ASSERT(m_effectText && m_colorInfo);
    m_effectText->viewport()->installEventFilter(this);

    // The code line is derived data; typing into it would be undone within a
    // tick, so it only offers selection and copying.
    m_colorInfo->setReadOnly(true);
    m_colorInfo->raise();
    setBaseColorOf(m_colorInfo, 0xC0E0FF);
    setTextColorOf(m_colorInfo, 0xC00000);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &ColorEditing::Timer1_Timer);
    m_timer->start();
}

bool ColorEditing::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (Channel &c : m_channels) {
            if (watched == c.dec) {
                c.decFocus = true;
                c.hexFocus = false;
            } else if (watched == c.hex) {
                c.hexFocus = true;
                c.decFocus = false;
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == m_effectText->viewport()) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            effect_text_Click();
    }
    return QObject::eventFilter(watched, event);
}

void ColorEditing::slide_Scroll(Channel &c)
{
    assignText(c.dec, QString::number(c.slide->value()));
    assignText(c.hex, dec2hex(static_cast<qint16>(c.slide->value())));
    setPreview(c.pair);
}

void ColorEditing::dec_Change(Channel &c)
{
    if (!c.decFocus)
        return;
    assignText(c.dec, check_dec(c.dec->text(), m_messages));
    const int value = numberOf(c.dec->text());
    assignText(c.hex, dec2hex(static_cast<qint16>(value)));
    c.slide->setValue(numberOf(c.dec->text()));
    setPreview(c.pair);
}

void ColorEditing::hex_Change(Channel &c)
{
    const bool bad = ck_hex(c.hex->text(), m_messages) == 1;
    if (bad || !c.hexFocus)
        return;
    const QString upper = c.hex->text().toUpper();
    if (upper != c.hex->text()) {
        // The assignment runs this handler again on the upper-case text, which
        // completes the update; repeating it here would only show a second
        // message for a text that is too long.
        assignText(c.hex, upper);
    } else {
        assignText(c.dec, QString::number(hex2dec(c.hex->text(), m_messages)));
        c.slide->setValue(numberOf(c.dec->text()));
        setPreview(c.pair);
    }
    // Typing goes on after the last character even when the text was replaced.
    c.hex->setCursorPosition(int(c.hex->text().size()));
}

void ColorEditing::setPreview(Pair pair)
{
    const ColorValue color = RGB(channel(pair, 0)->slide->value(), channel(pair, 1)->slide->value(),
                                 channel(pair, 2)->slide->value());
    if (pair == Pair::Fg)
        setForeColor(color);
    else
        setBackColor(color);
}

void ColorEditing::RefreshValue(ColorValue lColor, const QString &isBg)
{
    const Pair pair = isBg == u"fg" ? Pair::Fg : Pair::Bg;
    const ColorValue color = lColor & 0xFFFFFF;
    const QString letters[] = {QStringLiteral("r"), QStringLiteral("g"), QStringLiteral("b")};
    for (int i = 0; i < 3; ++i) {
        Channel &c = *channel(pair, i);
        assignText(c.dec, QString::number(show_rgb(letters[i], color)));
        c.slide->setValue(show_rgb(letters[i], color));
        assignText(c.hex, dec2hex(static_cast<qint16>(c.slide->value())));
    }
}

ColorValue ColorEditing::foreColor() const
{
    return textColorOf(m_effectText);
}

void ColorEditing::setForeColor(ColorValue color)
{
    setTextColorOf(m_effectText, color);
}

ColorValue ColorEditing::backColor() const
{
    return baseColorOf(m_effectText);
}

void ColorEditing::setBackColor(ColorValue color)
{
    setBaseColorOf(m_effectText, color);
}

void ColorEditing::Timer1_Timer()
{
    const auto &ch = m_channels;
    const ChannelTexts texts{
        ch[0].dec->text(), ch[1].dec->text(), ch[2].dec->text(), ch[0].hex->text(),
        ch[1].hex->text(), ch[2].hex->text(), ch[3].dec->text(), ch[4].dec->text(),
        ch[5].dec->text(), ch[3].hex->text(), ch[4].hex->text(), ch[5].hex->text(),
    };
    assignText(m_colorInfo, colorCodeLine(texts));
}

void ColorEditing::show_fg_color_Click(ColorChooser &dialog)
{
    if (!dialog.ShowColor())
        return;
    setForeColor(dialog.Color());
    RefreshValue(dialog.Color(), QStringLiteral("fg"));
}

void ColorEditing::show_bg_color_Click(ColorChooser &dialog)
{
    if (!dialog.ShowColor())
        return;
    setBackColor(dialog.Color());
    RefreshValue(dialog.Color(), QStringLiteral("bg"));
}

void ColorEditing::normaliseChannel(Channel &c)
{
    assignText(c.hex, db_str(c.hex->text()));
    assignText(c.dec, QString::number(hex2dec(c.hex->text(), m_messages)));
    c.slide->setValue(numberOf(c.dec->text()));
}

void ColorEditing::effect_text_Click()
{
    for (int i = 0; i < 3; ++i)
        normaliseChannel(*channel(Pair::Fg, i));
    for (Channel &c : m_channels) {
        if (c.hex->text().isEmpty())
            assignText(c.hex, QStringLiteral("00"));
    }
    for (int i = 0; i < 3; ++i)
        normaliseChannel(*channel(Pair::Bg, i));
}

} // namespace tintavo
