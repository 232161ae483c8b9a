#pragma once

#include "color/color_pair.h"
#include "common/control_table.h"

#include <array>
#include <span>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace tintavo {

class ScrollSlider;

// The preview frame (Frame1 with effect_text and txtColorInfo) and the two
// editor frames with their eighteen channel editors, as designed.
std::span<const ControlSpec> colorEditingControls();

// The three editors of one channel.
struct ChannelEditors
{
    QLineEdit *decimal;
    QLineEdit *hex;
    ScrollSlider *slider;
};

// The controls of colorEditingControls() as the main window keeps them.
struct ColorEditingControls
{
    QGroupBox *previewFrame;
    QPlainTextEdit *preview;
    QLineEdit *codeLine;
    QGroupBox *foregroundFrame;
    QGroupBox *backgroundFrame;
    // Red, green, blue.
    std::array<ChannelEditors, 3> foreground;
    std::array<ChannelEditors, 3> background;

    const ChannelEditors &channel(PairRole role, int index) const
    {
        return (role == PairRole::Foreground ? foreground : background)[size_t(index)];
    }
};

// Builds the controls of colorEditingControls() on `window`.
ColorEditingControls buildColorEditingControls(QWidget *window);

} // namespace tintavo
