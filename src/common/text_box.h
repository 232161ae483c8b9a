#pragma once

#include <QLineEdit>
#include <QMimeData>
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

protected:
    // An X clipboard with no owner (a fresh login, or an owner that has ended)
    // hands the toolkit data of no format at all, and its text control reads
    // the first format of that empty list: a paste of nothing does nothing.
    bool canInsertFromMimeData(const QMimeData *source) const override
    {
        return hasData(source) && QPlainTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData *source) override
    {
        if (hasData(source))
            QPlainTextEdit::insertFromMimeData(source);
    }

private:
    static bool hasData(const QMimeData *source) { return source && !source->formats().isEmpty(); }
};

} // namespace tintavo
