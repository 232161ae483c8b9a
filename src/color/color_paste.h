#pragma once

#include "color/editor_controls.h"

#include <QObject>

#include <optional>

class QLineEdit;
class QMenu;

namespace tintavo {

class MessageService;

// A colour code from the clipboard, in any form readCssColor takes, becomes
// the foreground or the background: Ctrl+V with the focus in a colour's
// group (or, from elsewhere outside a text box, the pointer over it), a whole
// code pasted into one of that colour's channel boxes (which otherwise take
// only their own kind of text from the clipboard), and the code line's
// menu items "粘贴为前景色" and "粘贴为背景色". What cannot be read as a
// colour is refused with the usual error notice and changes nothing; a code
// that had to lose its alpha or be brought into sRGB is taken, with a notice
// saying so.
class ColorPaste : public QObject
{
    Q_OBJECT

public:
    ColorPaste(QWidget *window, const ColorEditingControls &controls, ColorPair &pair,
               MessageService &messages);

    // Pastes the clipboard's text as the colour of `role`; false when it was
    // no colour (the user has been told).
    bool paste(PairRole role);

    // Adds the two paste items, enabled when the clipboard holds text.
    void addMenuItems(QMenu *menu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The colour whose group holds the focus or, failing that, lies under the pointer.
    std::optional<PairRole> roleAtHand() const;
    struct Box
    {
        PairRole role;
        QLineEdit *edit;
        bool hex;
    };
    // The channel box `watched` is, if it is one.
    std::optional<Box> boxAt(const QObject *watched) const;
    // A paste into a channel box: a whole colour sets the colour, the box's
    // own kind of text goes in as if typed, anything else is refused.
    void pasteIntoBox(const Box &box);

    ColorEditingControls m_controls;
    ColorPair &m_pair;
    MessageService &m_messages;
};

// The clipboard's plain text, empty when it holds none (or no data at all).
QString clipboardText();

} // namespace tintavo
