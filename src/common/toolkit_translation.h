#pragma once

class QCoreApplication;

namespace tintavo {

// Installs the toolkit's own Chinese texts (its buttons, dialogs and
// command-line help) into `app`, where the system has them.
void loadToolkitTranslation(QCoreApplication &app);

} // namespace tintavo
