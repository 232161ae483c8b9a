#include "common/interface_font.h"

#include <QStringList>

namespace tintavo {

QFont interfaceFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    return font;
}

QFont compactInterfaceFont()
{
    QFont font = interfaceFont();
    font.setPointSize(8);
    return font;
}

} // namespace tintavo
