#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace tintavo {

// Assigns a text box's text the way the handlers rely on: the change handler
// runs nested inside the assignment, and assigning the text the box already
// holds does nothing at all. QLineEdit::setText() would move the caret and
// drop the user's selection even then, so it is never called with equal text.
inline void assignText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

// The control table's multi-line text box. Its text area can leave a band at
// its top free, for a read-out laid over the box that must cover no text.
class MultiLineTextBox : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

    void setTopBand(int height) { setViewportMargins(0, height, 0, 0); }
    int topBand() const { return viewportMargins().top(); }
};

} // namespace tintavo
