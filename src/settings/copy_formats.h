#pragma once

#include "color/color_template.h"

#include <vector>

namespace tintavo {

class IniProfile;

// The user's own copy formats: under [CopyFormats], lines Format1 to Format20
// (key in any letter case), each "名称|模板", the name before the first '|'
// and the template after it, blanks around each dropped; in the order of
// their numbers. The file is
// written by hand, so anything else is passed over: other keys, numbers out
// of range or written with leading zeros, a repeated number (the first
// counts), a line without '|', with an empty name or template, or that is
// not UTF-8 or holds control characters. The program never writes the section.
inline constexpr int kMaxCopyFormats = 20;
std::vector<CopyTemplate> readCopyFormats(const IniProfile &profile);

} // namespace tintavo
