#include "color/qt_color_chooser.h"

#include "color/qt_color.h"

#include <QColorDialog>

namespace tintavo {

QtColorChooser::QtColorChooser(QWidget *owner) : m_owner(owner) {}

QtColorChooser::~QtColorChooser() = default; // the dialog goes with its owner

bool QtColorChooser::choose()
{
    // Both colour buttons share the dialog, and a button's access key clicks
    // a moment after the press, so a second request can come while the
    // dialog runs: it brings that dialog forward instead of entering it again.
    if (m_dialog && m_dialog->isVisible()) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return false;
    }
    if (!m_dialog) {
        m_dialog = new QColorDialog(m_owner);
        m_dialog->setObjectName(QStringLiteral("CommonDialog1"));
        m_dialog->setCurrentColor(Qt::black);
    }
    if (m_dialog->exec() != QDialog::Accepted)
        return false;
    const QColor c = m_dialog->selectedColor();
    if (!c.isValid())
        return false;
    m_color = toRgb(c);
    return true;
}

} // namespace tintavo
