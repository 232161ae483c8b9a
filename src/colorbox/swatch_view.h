#pragma once

#include <QWidget>

namespace tintavo {

class ColorBoxModel;

// The colour box on screen: one widget that paints every swatch of the model
// at its place as a 240 × 240 twip (16 × 16 pixel) square with a thin sunken
// border, rings the selected swatch, marks the one the next capture writes
// with a corner, and turns presses into swatch indices. It lies over the whole of its
// parent (Frame3) and follows the parent's size, so the frame clips the rows
// below its bottom edge just as it clips child controls. Only swatches that
// fall inside the view are painted or hit, so a box of 32768 stays quick.
class SwatchView : public QWidget
{
    Q_OBJECT

public:
    // `frame` is the container the swatch places are relative to (Frame3).
    SwatchView(ColorBoxModel *model, QWidget *frame);

    ColorBoxModel *model() const { return m_model; }

    // The swatch under `pos` (view pixels), the highest index where several
    // overlap, as later-created controls lie on top; -1 for none.
    int swatchAt(const QPoint &pos) const;
    // Swatch `index`'s square in view pixels (empty for an index that does not exist).
    QRect swatchRect(int index) const;

    // Lays the swatches out in rows of `columns` from swatch 0, left to right,
    // top to bottom, touching one another. 0 moves nothing. Until the first
    // arrangement every swatch lies over swatch 0.
    void arrange(int columns);
    // The columns of the arrangement; 0 before the first.
    int columns() const { return m_columns; }

signals:
    // A mouse button (any) went down on swatch `index`, or the menu key or
    // Shift+F10 was pressed with `index` selected: the swatch's menu is due.
    void swatchPressed(int index, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // The arrow keys, Home and End select another swatch, as a press does.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void select(int index);
    // The index range [first, last] whose grid rows intersect `area`.
    void gridRange(const QRect &area, int &first, int &last) const;
    void followParent();
    // Repaints the selection and the capture mark where they were and are.
    void showMarks();

    ColorBoxModel *m_model;
    int m_columns = 0;
    int m_markedSelection = 0;
    int m_markedSlot = 0;
};

} // namespace tintavo
