#pragma once

#include <QFileDialog>

namespace tintavo {

// Asks for a file to open or save as QFileDialog's static functions do, and
// returns its path (empty when the user cancels), with `filter` set to the
// filter chosen. Where the toolkit draws the dialog itself (no desktop dialog
// is at hand), its list speaks the interface's language to the last cell
// (sizes, types and dates, which the toolkit would give in the system's
// language) and its columns follow their contents.
QString askForFile(QWidget *parent, QFileDialog::AcceptMode mode, const QString &title,
                   const QString &folder, const QString &filters, QString *filter = nullptr);

} // namespace tintavo
