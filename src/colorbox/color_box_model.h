#pragma once

#include "color/rgb.h"

#include <QObject>

#include <deque>
#include <vector>

namespace tintavo {

// The colour box: the swatches' colours, the swatch the popup menu acts on
// (selectedSwatch) and the slot the next hot-key capture writes
// (nextCaptureSlot). Swatch 0 always exists. The box is plain data; SwatchView
// shows it and places it. A swatch's index is an int throughout.
class ColorBoxModel : public QObject
{
    Q_OBJECT

public:
    // Swatch indices are 16-bit signed, so the box holds at most 32768 swatches.
    static constexpr int kMaxSwatches = 32768;
    // Swatch 0's colour before start-up gives it a random one.
    static constexpr Rgb kDesignColor = rgb(255, 0, 255);

    explicit ColorBoxModel(QObject *parent = nullptr);

    // The swatch the menu commands act on; only selectSwatch changes it.
    int selectedSwatch() const { return m_selectedSwatch; }
    // The slot the next capture writes (see storeCapture).
    int nextCaptureSlot() const { return m_nextCaptureSlot; }
    void setNextCaptureSlot(int slot);

    // The swatch the next capture writes: nextCaptureSlot, or 0 once it has
    // run past the end.
    int captureTarget() const { return contains(m_nextCaptureSlot) ? m_nextCaptureSlot : 0; }

    int count() const { return static_cast<int>(m_colors.size()); }
    int lastIndex() const { return count() - 1; }
    bool contains(int index) const { return index >= 0 && index < count(); }

    const std::vector<Rgb> &colors() const { return m_colors; }
    // White for an index that does not exist.
    Rgb color(int index) const;
    // Each change of colours below may be named by `what` the user did (the
    // command, "保存前景色"), which the undo history shows with the swatch or
    // the number of colours written: "保存前景色（颜色 5）", "配色（3 种颜色）".

    // Ignored for an index that does not exist.
    void setColor(int index, Rgb color, const QString &what = {});
    // Every swatch gets `color` (white empties the box).
    void fillColors(Rgb color);
    // Replaces the colours of swatches 0 .. colors.size()-1; extra values are
    // dropped and swatches beyond the list keep theirs.
    void setColors(const std::vector<Rgb> &colors, const QString &what = {});
    // Swatch indices[i] gets colors[i], as one change; indices that do not
    // exist are ignored.
    void setColorsAt(const std::vector<int> &indices, const std::vector<Rgb> &colors,
                     const QString &what = {});

    // The box becomes exactly these swatches, in this order (swatch 0 kept
    // when the list is empty, and no more than kMaxSwatches).
    void setSwatches(std::vector<Rgb> colors);

    // Creates swatches 1..highestIndex, then gives every swatch a random
    // colour (red, green, blue drawn in that order). Indices that exist already
    // or lie past the 16-bit range are skipped; below 1 it creates nothing but
    // still recolours.
    void addSwatches(int highestIndex);

    // A press on swatch `index` with any button selects it for the menu and makes
    // it the next capture slot. Opening the menu is the window's part. An index
    // that does not exist is ignored.
    void selectSwatch(int index);

    // A hot-key capture: `color` goes into nextCaptureSlot, which then moves on.
    // The slot wraps to 0 only when a capture comes after the last swatch was
    // written, so between captures it may hold the swatch count.
    void storeCapture(Rgb color);

    // Every change of colours above (and each capture) is one step that undo()
    // takes back and redo() makes again, the newest kUndoSteps of them; the
    // colours it brings back are announced as changes like any other. Making
    // or replacing swatches (start-up) forgets them all.
    static constexpr int kUndoSteps = 200;
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // The names of the steps undo() and redo() would take: empty for none,
    // or where the change was not named.
    QString undoName() const { return m_undo.empty() ? QString() : m_undo.back().name; }
    QString redoName() const { return m_redo.empty() ? QString() : m_redo.back().name; }
    void undo();
    void redo();
    void forgetHistory();

signals:
    // selectedSwatch or captureTarget() may have changed.
    void marksChanged();
    // canUndo() or canRedo() may have changed.
    void historyChanged();
    // One swatch's colour changed.
    void colorChanged(int index);
    // Many colours changed at once.
    void colorsChanged();
    // Swatches were added or taken away.
    void countChanged();

private:
    struct Change
    {
        int index;
        Rgb before, after;
    };
    struct Step
    {
        std::vector<Change> changes;
        QString name;
    };
    // Makes the colours of `step` (those it leaves or those it makes) the
    // box's, and says which changed.
    void apply(const Step &step, bool forward);
    // Takes the newest step of `from` back (or, `forward`, makes it again) and
    // keeps it on `to`.
    void travel(std::deque<Step> &from, std::deque<Step> &to, bool forward);
    // Keeps `changes` as one step named for `what` on `written` swatches
    // (the first of them `first`).
    void record(std::vector<Change> changes, const QString &what, qsizetype written, int first);

    std::vector<Rgb> m_colors;
    int m_selectedSwatch = 0;
    int m_nextCaptureSlot = 0;
    std::deque<Step> m_undo, m_redo;
};

// Chooses the capture slot at start-up. With remember-position on
// (rememberSlot equal to 1) the stored slot is taken when it lies strictly between the
// first and the last index, else 0; the colours are not looked at. Otherwise
// the slot is the first white swatch, or the count when there is none; a white
// last swatch alone does not count as free, so such a box is treated as full.
int startCaptureSlot(const std::vector<Rgb> &colors, int rememberSlot, int storedSlot);

} // namespace tintavo
