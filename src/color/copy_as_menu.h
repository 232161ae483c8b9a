#pragma once

#include "color/color_template.h"

#include <functional>
#include <vector>

class QLineEdit;
class QWidget;

namespace tintavo {

class ColorPair;
class ColorPaste;

// The colour-code line's context menu gains "复制前景色为" and "复制背景色为"
// (each colour in every CSS form, its CSS name and Tailwind name where it is
// one, or else the nearest as a disabled line, then the user's own formats
// that `ownFormats` gives when the menu opens, each with its template as the
// tooltip) and "复制 CSS 声明"; Ctrl+Shift+C anywhere in `window` copies that
// declaration too. The clipboard gets plain text only. With `paste`, the menu
// offers its items before the copies.
void addCopyAsCommands(QLineEdit *codeLine, QWidget *window, const ColorPair &pair,
                       std::function<std::vector<CopyTemplate>()> ownFormats = {},
                       ColorPaste *paste = nullptr);

} // namespace tintavo
