#pragma once

#include "color/color_value.h"

#include <QString>

namespace tintavo {

// What the colour box's menu commands need from the main window: the preview
// area's two colours (its background is the current background colour, its
// text colour the current foreground colour) and RefreshValue, which loads a
// colour into the foreground editors when `isBg` is exactly "fg" and into the
// background editors otherwise. The main window implements it; tests fake it.
class PreviewColors
{
public:
    virtual ~PreviewColors() = default;

    virtual ColorValue backColor() const = 0;
    virtual void setBackColor(ColorValue color) = 0;
    virtual ColorValue foreColor() const = 0;
    virtual void setForeColor(ColorValue color) = 0;
    virtual void RefreshValue(ColorValue lColor, const QString &isBg) = 0;
};

} // namespace tintavo
