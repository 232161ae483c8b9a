#pragma once

#include <QLineEdit>

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

} // namespace tintavo
