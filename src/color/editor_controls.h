#pragma once

#include "color/color_pair.h"

#include <array>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace tintavo {

class ScrollSlider;

// The three editors of one channel.
struct ChannelEditors
{
    QLineEdit *decimal;
    QLineEdit *hex;
    ScrollSlider *slider;
};

// The preview frame (Frame1 with effect_text and txtColorInfo) and the two
// editor frames with their eighteen channel editors; the main window's
// control table makes them.
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

// Names every editor for a screen reader by what it edits.
void describeColorEditors(const ColorEditingControls &controls);

} // namespace tintavo
