#include "color/text_colors.h"

#include "color/qt_color.h"

#include <QWidget>

namespace tintavo {

void showTextColors(QWidget *box, Rgb text, Rgb background)
{
    box->setStyleSheet(QStringLiteral("%1 { color: %2; background-color: %3; }")
                           .arg(QLatin1String(box->metaObject()->className()),
                                toQColor(text).name(), toQColor(background).name()));
}

} // namespace tintavo
