#pragma once

#include "color/color_pair.h"

#include <QObject>
#include <array>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace tintavo {

class ColorChooser;
class MessageService;
class ScrollSlider;

// The eighteen channel editors of the main window kept in step with one
// another and with the colour pair they edit, and the colour-code line that
// shows what the channel boxes hold. It works on controls already built on the
// window (see colorEditingControls) and finds them by name.
class ColorEditing : public QObject
{
    Q_OBJECT

public:
    ColorEditing(QWidget *window, ColorPair &pair, MessageService &messages);

    // Makes `color` the pair's colour of `role` and loads it into that role's
    // editors. Only the low 24 bits of `color` are used, so every value gives
    // channels the sliders can hold.
    void loadColor(PairRole role, ColorValue color);

    // The colour buttons: the colour confirmed in the dialog becomes the
    // pair's colour of `role` and is loaded into its editors. Cancelling
    // changes nothing.
    void chooseColor(PairRole role, ColorChooser &dialog);

    // Normalises the codes, as a click into the preview asks: lone
    // hexadecimal digits are padded and every decimal box is rewritten from
    // its hexadecimal box.
    void normaliseCodes();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Channel
    {
        PairRole role;
        QLineEdit *decimal = nullptr;
        QLineEdit *hex = nullptr;
        ScrollSlider *slider = nullptr;
        // Which of the two boxes had the focus last: only that one's edits
        // recompute the channel, so the two boxes never feed each other.
        bool decimalLeads = false;
        bool hexLeads = false;
    };

    void sliderMoved(Channel &c);
    void decimalEdited(Channel &c);
    void hexEdited(Channel &c);
    void normaliseChannel(Channel &c);
    // Stores the colour the three sliders of `role` spell into the pair.
    void storeSliders(PairRole role);
    void updateCodeLine();
    Channel &channel(PairRole role, int index)
    {
        return m_channels[(role == PairRole::Foreground ? 0 : 3) + index];
    }

    ColorPair &m_pair;
    MessageService &m_messages;
    std::array<Channel, 6> m_channels; // fg red, green, blue, then bg red, green, blue
    QPlainTextEdit *m_preview = nullptr;
    QLineEdit *m_codeLine = nullptr;
};

} // namespace tintavo
