#pragma once

#include <QProxyStyle>

namespace tintavo {

// Draws frames (group boxes) with their caption on the frame line, so that
// controls placed just below a frame's top edge are not covered by a caption
// row. Done in the style rather than by a style sheet: a style sheet puts
// every widget of the program through the style-sheet machinery, which costs
// half a megabyte and start-up time for this one look.
class FrameCaptionStyle : public QProxyStyle
{
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override;
};

} // namespace tintavo
