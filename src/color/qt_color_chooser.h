#pragma once

#include "color/color_chooser.h"

class QColorDialog;
class QWidget;

namespace tintavo {

// ColorChooser over QColorDialog. The dialog is created once and kept, so it
// opens on the colour last confirmed, with the user's custom colours.
class QtColorChooser : public ColorChooser
{
public:
    explicit QtColorChooser(QWidget *owner);
    ~QtColorChooser() override;

    bool ShowColor() override;
    ColorValue Color() const override { return m_color; }

private:
    QColorDialog *m_dialog;
    ColorValue m_color = 0;
};

} // namespace tintavo
