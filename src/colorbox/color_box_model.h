#pragma once

#include "color/color_value.h"

#include <QObject>
#include <QPoint>

#include <vector>

namespace tintavo {

// The colour box: the swatches' colours and places, the swatch the popup menu
// acts on (selectedSwatch) and the slot the next hot-key capture writes (nextCaptureSlot).
// Places are twips relative to the outer top-left corner of Frame3. Swatch 0
// always exists and never moves: it anchors the grid, and its size is the
// grid's pitch. The box is plain data; SwatchView shows it.
class ColorBoxModel : public QObject
{
    Q_OBJECT

public:
    // Swatch indices are 16-bit signed, so the box holds at most 32768 swatches.
    static constexpr int kMaxSwatches = 32768;
    // Swatch 0's place and size as designed, in twips.
    static constexpr int kAnchorLeft = 120;
    static constexpr int kAnchorTop = 195;
    static constexpr int kSwatchWidth = 240;
    static constexpr int kSwatchHeight = 240;
    // Swatch 0's colour before start-up gives it a random one.
    static constexpr ColorValue kDesignColor = 0xFF00FF;

    explicit ColorBoxModel(QObject *parent = nullptr);

    // The swatch the menu commands act on; only selectSwatch changes it.
    qint32 selectedSwatch = 0;
    // The slot the next capture writes. The capture wraps it to 0 when it is
    // past the last index before writing, then advances it.
    qint32 nextCaptureSlot = 0;

    int count() const { return static_cast<int>(m_colors.size()); }
    int lastIndex() const { return count() - 1; }
    bool contains(qint64 index) const { return index >= 0 && index < count(); }

    const std::vector<ColorValue> &colors() const { return m_colors; }
    // White for an index that does not exist.
    ColorValue color(qint64 index) const;
    // Ignored for an index that does not exist.
    void setColor(qint64 index, ColorValue color);
    // Every swatch gets `color` (white empties the box).
    void fillColors(ColorValue color);
    // Replaces the colours of swatches 0 .. colors.size()-1; extra values are
    // dropped and swatches beyond the list keep theirs.
    void setColors(const std::vector<ColorValue> &colors);

    // Top-left corners in twips.
    const std::vector<QPoint> &positions() const { return m_positions; }
    QPoint position(qint64 index) const;
    // The column count of the last successful arrange while the swatches still
    // lie in that grid; 0 when they do not (fresh swatches lie stacked on 0).
    int gridColumns() const { return m_gridColumns; }

    // Creates swatches 1..highestIndex beside swatch 0, each lying over swatch 0 until it is
    // arranged, then gives every swatch a random colour (red, green, blue drawn
    // in that order) after seeding `random` from the clock once. Indices that
    // exist already or lie past the 16-bit range are skipped; below 1 it creates
    // nothing but still recolours.
    void addSwatches(qint32 highestIndex);

    // Arranges swatches 1.. in rows from swatch 0, left to right, top to bottom,
    // touching one another, as many columns as fit in a frame `frameWidth` twips wide
    // with a 120-twip margin. Returns false, moving nothing, when no column fits.
    bool arrange(qint32 frameWidth);

    // A press on swatch `index` with any button selects it for the menu and makes
    // it the next capture slot. Opening the menu is the window's part. An index
    // that does not exist is ignored.
    void selectSwatch(qint64 index);

signals:
    // One swatch's colour changed.
    void colorChanged(int index);
    // Many colours changed at once, or swatches were added.
    void colorsChanged();
    // Swatches moved or were added.
    void positionsChanged();

private:
    std::vector<ColorValue> m_colors;
    std::vector<QPoint> m_positions;
    int m_gridColumns = 0;
};

// Chooses the capture slot at start-up. With remember-position on
// (rememberSlot equal to 1) the stored slot is taken when it lies strictly between the
// first and the last index, else 0; the colours are not looked at. Otherwise
// the slot is the first white swatch, or the count when there is none; a white
// last swatch alone does not count as free, so such a box is treated as full.
qint32 startCaptureSlot(const std::vector<ColorValue> &colors, qint32 rememberSlot,
                        qint32 storedSlot);

} // namespace tintavo
