#pragma once

#include <QString>

namespace tintavo {

// What survives between runs besides the swatch colours. The defaults are
// what a start without a settings file gets. A switch stored as anything but 1
// (a hand-edited file) reads as off.
struct Settings
{
    bool autoSave = true;          // swatches and startSlot written at exit (AutoSave)
    bool autoLoad = true;          // swatches read at start (AutoLoad)
    qint32 swatchCount = 64;       // as stored; start-up bounds it (nColor)
    bool rememberStartSlot = true; // start capturing at startSlot (AutoRember)
    qint32 startSlot = 0;          // next capture slot at the last exit; read only (StartPoint)
    // The preview's contrast read-out shown (ShowContrast: anything but 0);
    // written only when the user switches it, and ignored by older copies.
    bool showContrast = true;
    // The picker's loupe shown (Loupe: 1); never written, by this version.
    bool loupe = true;
    // The side of the square the picker averages, as stored (SampleSize); the
    // picker takes anything but 1, 3 or 5 for 1.
    int sampleSize = 1;
    // Picks taken back to sRGB through the monitor's published profile
    // (ColorManaged: anything but 0); never written, by this version.
    bool colorManaged = true;
    // The folder the palette file dialogs last went to (PaletteFolder, UTF-8);
    // empty before the first.
    QString paletteFolder = QString();
};

} // namespace tintavo
