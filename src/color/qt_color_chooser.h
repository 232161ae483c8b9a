#pragma once

#include "color/color_chooser.h"

class QColorDialog;
class QWidget;

namespace tintavo {

// ColorChooser over QColorDialog. The dialog is created on first use and kept,
// so it opens on the colour last confirmed, with the user's custom colours.
// Building it is dearer than the rest of the main window together, so a
// start that never picks a colour does not pay for it.
class QtColorChooser : public ColorChooser
{
public:
    explicit QtColorChooser(QWidget *owner);
    ~QtColorChooser() override;

    bool choose() override;
    Rgb chosenColor() const override { return m_color; }

private:
    QWidget *m_owner;
    QColorDialog *m_dialog = nullptr;
    Rgb m_color;
};

} // namespace tintavo
