#include "color/qt_color_chooser.h"

#include "common/qt_color.h"

#include <QColorDialog>

namespace tintavo {

QtColorChooser::QtColorChooser(QWidget *owner) : m_owner(owner) {}

QtColorChooser::~QtColorChooser() = default; // the dialog goes with its owner

bool QtColorChooser::choose()
{
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
