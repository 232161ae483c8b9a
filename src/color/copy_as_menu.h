#pragma once

class QLineEdit;
class QWidget;

namespace tintavo {

class ColorPair;
class ColorPaste;

// The colour-code line's context menu gains "复制前景色为" and "复制背景色为"
// (each colour in every CSS form, and its CSS name where it has one, or else
// the nearest name as a disabled line) and "复制 CSS 声明"; Ctrl+Shift+C anywhere in
// `window` copies that declaration too. The clipboard gets plain text only.
// With `paste`, the menu offers its items before the copies.
void addCopyAsCommands(QLineEdit *codeLine, QWidget *window, const ColorPair &pair,
                       ColorPaste *paste = nullptr);

} // namespace tintavo
