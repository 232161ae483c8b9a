#pragma once

#include "color/rgb.h"

#include <QString>

#include <vector>

namespace tintavo {

class ColorBoxModel;
class QuestionService;

// How colours written into the box treat swatches that hold one already.
enum class BoxWriteMode
{
    Overwrite, // every swatch in turn
    FillEmpty, // only white (empty) swatches; stored colours stay
};

// The swatches `n` colours go into from swatch `first` on, in order: never
// past the last swatch and never round to the start. A `first` that does not
// exist gives none.
std::vector<int> writeSlots(const std::vector<Rgb> &swatches, int first, int n, BoxWriteMode mode);

// What writing colours into the box came to.
struct BoxWrite
{
    bool cancelled = false; // the user chose "取消"
    int written = 0;
    // Colours that found no place, said for the user; empty when all did.
    QString leftOut;
};

// Writes `colors` into `box` from swatch `first` on, as one change the user
// can undo, named `title` in the undo history. Where that would replace
// stored colours it first asks (title `title`): "覆盖" writes every swatch in
// turn, "只填空位" only the empty ones, "取消" writes nothing.
BoxWrite writeColorsAsking(ColorBoxModel &box, int first, const std::vector<Rgb> &colors,
                           QuestionService &questions, const QString &title);

} // namespace tintavo
