#pragma once

#include "color/color_code_line.h"
#include "color/color_pair.h"
#include "color/editor_controls.h"

#include <QObject>

namespace tintavo {

class ColorChooser;
class MessageService;

// The eighteen channel editors and the colour-code line as views of the
// colour pair. The boxes' texts are this view's own: a user's edit of one
// editor is checked and written to the pair once; every change of the pair is
// drawn into all editors and the code line, with their signals blocked, so no
// editor ever hears another's update.
class ColorEditing : public QObject
{
    Q_OBJECT

public:
    ColorEditing(const ColorEditingControls &controls, ColorPair &pair, MessageService &messages,
                 QObject *parent = nullptr);

    // The colour buttons: the colour confirmed in the dialog becomes the
    // pair's colour of `role`. Cancelling changes nothing.
    void chooseColor(PairRole role, ColorChooser &dialog);

    // Normalises the codes, as a click into the preview asks: lone
    // hexadecimal digits are padded and every decimal box is rewritten from
    // its hexadecimal box.
    void normaliseCodes();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sliderMoved(PairRole role, int channel);
    void decimalEdited(PairRole role, int channel);
    void hexEdited(PairRole role, int channel);
    // A new text of a hexadecimal box, checked as the box's edits are; false
    // when it was refused and stays as it is.
    bool takeHexText(PairRole role, int channel, const QString &text);
    void normaliseChannel(PairRole role, int channel);
    ChannelTexts &texts(PairRole role, int channel);
    // Shows `shown` in the boxes of one channel, and `value` in the pair.
    void write(PairRole role, int channel, int value, const ChannelTexts &shown);
    // A colour the pair has from elsewhere is shown in its own forms.
    void pairChanged();
    void showPair();

    ColorEditingControls m_controls;
    ColorPair &m_pair;
    MessageService &m_messages;
    PairTexts m_texts;
    // The pair's colours as this view last drew them.
    std::array<Rgb, 2> m_drawn;
};

} // namespace tintavo
