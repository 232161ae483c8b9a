#pragma once

#include "common/twips.h"

#include <QtGlobal>

namespace tintavo {

// The main window's controls that follow its size, in twips (left and top
// relative to their container: the window's client area, or the preview
// frame for the preview and the code line).
struct MainLayout
{
    TwipsRect previewFrame;    // Frame1
    TwipsRect preview;         // effect_text
    TwipsRect foregroundFrame; // fg_frame
    TwipsRect backgroundFrame; // bg_frame
    TwipsRect commandFrame;    // Frame4
    TwipsRect colorBoxFrame;   // Frame3
    TwipsRect codeLine;        // txtColorInfo
};

// The design geometry of those controls; the window's control table places
// them there.
inline constexpr MainLayout kDesignLayout{{120, 60, 11235, 4155},   {90, 195, 10995, 3435},
                                          {105, 4320, 7095, 885},   {105, 5220, 7110, 900},
                                          {7455, 4320, 3900, 1755}, {105, 6150, 11280, 945},
                                          {90, 3690, 10740, 315}};

// The client area the window was designed with; the layout grows and shrinks
// the preview by the difference.
inline constexpr int kDesignClientWidth = 11460;
inline constexpr int kDesignClientHeight = 7170;
// The least client area the controls need: the editor and command frames
// whole and a few lines of preview. A smaller window scrolls over them.
inline constexpr int kLeastClientWidth = kDesignClientWidth;
inline constexpr int kLeastClientHeight = kDesignClientHeight - 2640;

struct ResizeResult
{
    MainLayout layout;
    // The colour-box frame's width, which the swatches are arranged in.
    qint32 colorBoxWidth = 0;
};

// The resize rule: the preview frame and its text take up the window's growth
// in both directions, the editor and command frames follow below the preview
// 60 twips apart, the colour-box frame follows them and takes the preview
// frame's width, and the
// colour-code line sits over the lower part of the preview. Each assignment
// that would give a negative width or height is skipped on its own and later
// steps read the value it left. Lefts and everything else stay unchanged.
ResizeResult resizedLayout(qint32 clientWidth, qint32 clientHeight, const MainLayout &current);

} // namespace tintavo
