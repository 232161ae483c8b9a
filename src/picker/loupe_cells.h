#pragma once

namespace tintavo {

// The loupe's cells a side: odd, so that one cell is the middle.
inline constexpr int kLeastLoupeCells = 7;
inline constexpr int kMostLoupeCells = 31;
inline constexpr int kDefaultLoupeCells = 11;

// A stored cell count as the loupe takes it: the default for anything but an
// odd count in its range (a hand-edited or newer file).
constexpr int loupeCellsFromSetting(int stored)
{
    return stored >= kLeastLoupeCells && stored <= kMostLoupeCells && stored % 2 == 1
               ? stored
               : kDefaultLoupeCells;
}

} // namespace tintavo
