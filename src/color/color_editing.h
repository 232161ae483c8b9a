#pragma once

#include "color/color_value.h"

#include <QObject>
#include <array>

class QLineEdit;
class QPlainTextEdit;
class QTimer;
class QWidget;

namespace tintavo {

class ColorChooser;
class MessageService;
class ScrollSlider;

// The colour pair of the main window: the eighteen channel editors kept in
// step, the preview area showing the pair, and the colour-code line under it.
// It works on controls already built on the window (see colorEditingControls)
// and finds them by name.
class ColorEditing : public QObject
{
    Q_OBJECT

public:
    ColorEditing(QWidget *window, MessageService &messages);

    // Loads `lColor` into the foreground editors when `isBg` is exactly "fg",
    // otherwise into the background editors. The preview colour is the
    // caller's to set. Only the low 24 bits of `lColor` are used, so every
    // value gives channels the sliders can hold.
    void RefreshValue(ColorValue lColor, const QString &isBg);

    // The preview's text colour (the foreground) and its background colour.
    ColorValue foreColor() const;
    void setForeColor(ColorValue color);
    ColorValue backColor() const;
    void setBackColor(ColorValue color);

    // Rebuilds the colour-code line from the twelve channel boxes.
    void Timer1_Timer();

    // Normalises the codes: lone hexadecimal digits are padded and every
    // decimal box is rewritten from its hexadecimal box.
    void effect_text_Click();

    // The colour buttons: the colour confirmed in the dialog becomes the
    // preview's text (background) colour and is loaded into its editors.
    // Cancelling changes nothing.
    void show_fg_color_Click(ColorChooser &dialog);
    void show_bg_color_Click(ColorChooser &dialog);

    QTimer *timer() const { return m_timer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Pair
    {
        Fg,
        Bg
    };

    struct Channel
    {
        Pair pair;
        QLineEdit *dec = nullptr;
        QLineEdit *hex = nullptr;
        ScrollSlider *slide = nullptr;
        bool decFocus = false; // true from dec's focus-in until hex gets the focus
        bool hexFocus = false;
    };

    void slide_Scroll(Channel &c);
    void dec_Change(Channel &c);
    void hex_Change(Channel &c);
    void normaliseChannel(Channel &c);
    void setPreview(Pair pair);
    Channel *channel(Pair pair, int index)
    {
        return &m_channels[(pair == Pair::Fg ? 0 : 3) + index];
    }

    MessageService &m_messages;
    std::array<Channel, 6> m_channels; // fg red, green, blue, then bg red, green, blue
    QPlainTextEdit *m_effectText = nullptr;
    QLineEdit *m_colorInfo = nullptr;
    QTimer *m_timer = nullptr;
};

// Reads and sets the colours a text widget shows its text and background in.
ColorValue textColorOf(const QWidget *w);
ColorValue baseColorOf(const QWidget *w);
void setTextColorOf(QWidget *w, ColorValue color);
void setBaseColorOf(QWidget *w, ColorValue color);

} // namespace tintavo
