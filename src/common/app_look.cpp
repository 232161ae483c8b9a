#include "common/app_look.h"

#include "common/app_icon.h"
#include "common/frame_caption_style.h"
#include "common/interface_font.h"
#include "common/screen_fit.h"
#include "common/toolkit_translation.h"

#include <QApplication>
#include <QLocale>

namespace tintavo {

void setUpApplicationLook(QApplication &app)
{
    static const char kDone[] = "tintavoLookSetUp";
    if (app.property(kDone).toBool())
        return;
    app.setProperty(kDone, true);

    // The interface is Chinese throughout, the toolkit's own buttons and
    // dialogs included.
    loadToolkitTranslation(app);
    // Texts the toolkit takes from the locale (file types in the file
    // dialog) in the interface's language too.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));

    QApplication::setFont(interfaceFont());
    installAppIcon();

    // Frames carry their caption on the frame line.
    app.setStyle(new FrameCaptionStyle);

    keepWindowsOnScreen(app);
}

} // namespace tintavo
