#pragma once

#include "color/color_pair.h"
#include "color/editor_controls.h"

#include <QObject>

namespace tintavo {

class ColorChooser;
class MessageService;

// The eighteen channel editors and the colour-code line as views of the
// colour pair. A user's edit of one editor is checked and written to the pair;
// every change of the pair is drawn into all editors and the code line, with
// their signals blocked, so no editor ever hears another's update.
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
    void showPair();

    ColorEditingControls m_controls;
    ColorPair &m_pair;
    MessageService &m_messages;
};

} // namespace tintavo
