#pragma once

namespace tintavo {

struct Settings;

// How picks are made, read from the settings once for the picker, a pick
// from the command line and the engine that reads for both.
struct PickSettings
{
    // A magnified view of the pixels around the pointer follows it.
    bool loupe = true;
    // The side of the square of device pixels whose mean is picked: 1, 3 or 5.
    int sampleSize = 1;
    // The loupe's cells a side: odd, 7 to 31 (loupe_cells.h).
    int loupeCells = 11;
    // Screen values go back to sRGB through the profile the desktop
    // publishes for the monitor, where it publishes one.
    bool colorManaged = true;
};

// The stored settings as picks use them; a sample size the program does not
// offer (a hand-edited or newer file) is one pixel.
PickSettings pickSettings(const Settings &settings);

} // namespace tintavo
