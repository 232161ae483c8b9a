#pragma once

#include "common/twips.h"

#include <QtGlobal>

namespace tintavo {

// The main window's controls that follow its size, in twips (left and top
// relative to their container: the window's client area, or Frame1 for
// effect_text and txtColorInfo).
struct MainLayout
{
    TwipsRect Frame1;
    TwipsRect effect_text;
    TwipsRect fg_frame;
    TwipsRect bg_frame;
    TwipsRect Frame4;
    TwipsRect Frame3;
    TwipsRect txtColorInfo;
};

// The design geometry of those controls.
MainLayout designLayout();

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
    // Frame3's width, which the swatches are arranged in.
    qint32 colorBoxWidth = 0;
};

// The resize rule: the preview frame and its text take up the window's growth
// in both directions, the editor and command frames follow below the preview
// 60 twips apart, Frame3 follows them and takes the preview's width, and the
// colour-code line sits over the lower part of the preview. Each assignment
// that would give a negative width or height is skipped on its own and later
// steps read the value it left. Lefts and everything else stay unchanged.
ResizeResult resizedLayout(qint32 clientWidth, qint32 clientHeight, const MainLayout &current);

} // namespace tintavo
