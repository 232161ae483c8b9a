#include "common/interface_font.h"

#include <QStringList>

namespace tintavo {

QFont interfaceFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    // Unhinted, as the toolkit already sets text on every scaled screen: the
    // first window shows several hundred different Chinese glyphs, and the
    // hinter would run over each of them twice, once for its advance and once
    // for its image: some 8 ms of a 50 ms start. The layout is the same; only
    // the glyphs' edges are shaded differently.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont compactInterfaceFont()
{
    QFont font = interfaceFont();
    font.setPointSize(8);
    return font;
}

} // namespace tintavo
