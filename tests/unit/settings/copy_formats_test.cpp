// The user's own copy formats as a hand-edited settings file gives them.
#include "settings/copy_formats.h"
#include "settings/ini_profile.h"

#include <gtest/gtest.h>

namespace tintavo {
namespace {

std::string read(const QByteArray &text)
{
    QStringList out;
    for (const CopyTemplate &f : readCopyFormats(IniProfile::fromBytes(text)))
        out << f.name + u'=' + f.pattern;
    return out.join(u'\n').toStdString();
}

// Kept in their numbers' order, the first of a repeated number counting;
// junk passed over without a word.
TEST(CopyFormats, HandEditedLinesAndJunk)
{
    const std::pair<QByteArray, const char *> rows[] = {
        {"[APPSET]\r\nAutoSave=1\r\n", ""},
        {"[copyformats]\nformat2 = SwiftUI | Color(hex: 0x{HEX})\nFormat1=Sass 变量|$c: #{hex};\n"
         "Format20=a|b|c\n",
         "Sass 变量=$c: #{hex};\nSwiftUI=Color(hex: 0x{HEX})\na=b|c"},
        {"[CopyFormats]\nFormat3=first|{r}\nFormat3=second|{g}\n", "first={r}"},
        {"[CopyFormats]\nFormat0=x|y\nFormat21=x|y\nFormat01=x|y\nFormat=x|y\nFormatA=x|y\n"
         "Format1=no bar\nFormat2=|empty name\nFormat4=empty template|  \nFormat5=\n"
         "Other=x|y\nFormat6=\xC3(|bad UTF-8\n=|\n[CopyFormats\nFormat7=ok|{hex}\n",
         ""},
        {QByteArray("[CopyFormats]\nFormat9=nul\0in|it\nFormat8=ok|{hex}\n", 49), "ok={hex}"}};
    for (const auto &[text, formats] : rows)
        EXPECT_EQ(read(text), formats) << text.constData();
}

} // namespace
} // namespace tintavo
