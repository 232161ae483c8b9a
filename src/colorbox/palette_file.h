#pragma once

#include "color/rgb.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace tintavo {

// The colour box in and out of files other programs read: GIMP palettes
// (.gpl, also what Inkscape reads and writes) and CSS custom properties.

struct PaletteReadResult
{
    std::vector<Rgb> colors;
    // Empty when the file was read; otherwise a Chinese message for the user
    // naming the first bad line, and `colors` is empty.
    QString error;
    // The 1-based number of that line, 0 when the fault is not on one line.
    int errorLine = 0;
    // Of the colours read, how many lost an alpha, were mapped into sRGB or
    // had a channel held to its range.
    int alphaDropped = 0, gamutMapped = 0, clamped = 0;
    // The lines of declarations passed over as no colour at all (--gap: 4px).
    std::vector<int> passedOver;

    // One Chinese sentence for each of the above that happened, for the user.
    QStringList notes() const;
};

// Reads a GIMP palette: a "GIMP Palette" first line, then optional "Name:" and
// "Columns:" lines, "#" comments, blank lines, and one colour a line as three
// numbers 0..255 with an optional name (spaces allowed) after them. Windows
// line ends and a UTF-8 byte-order mark are accepted. All or nothing: any bad
// line makes the whole file an error.
PaletteReadResult readGimpPalette(const QByteArray &bytes);

// Reads CSS custom properties, as exportColorBox writes them: every
// "--name: colour;" declaration in the text, the colour in any form
// readCssColor takes, in order; comments and selectors around them are
// skipped, and so are declarations of other things (a length, a font), which
// are counted. A value written as a colour (a '#' or a colour function) that
// cannot be read makes the whole file an error, as in a GIMP palette.
PaletteReadResult readCssProperties(const QByteArray &bytes);

// A GIMP palette or CSS custom properties, whichever the text is.
PaletteReadResult readPalette(const QByteArray &bytes);

// A GIMP palette of `colors`, one "R G B<TAB>#RRGGBB" line each, in order.
QByteArray gimpPaletteBytes(const std::vector<Rgb> &colors, const QString &name, int columns);

// ":root {", then one "  --tintavo-<i>: #RRGGBB;" line a colour, then "}".
QByteArray cssPropertiesBytes(const std::vector<Rgb> &colors);

// The colours an export writes: every non-white swatch, in order.
std::vector<Rgb> exportedColors(const std::vector<Rgb> &swatches);

// The largest palette file an import reads: far beyond any palette a person
// keeps (a full colour box is a few hundred kilobytes), far below what would
// strain memory.
constexpr qint64 kMaxPaletteFileSize = 1024 * 1024;

// What reading a palette file chosen for import gave: its bytes, or a Chinese
// message for the user naming the file and why it was not read.
struct PaletteFileRead
{
    QByteArray bytes;
    QString error;
};

// Reads the file at `path` without waiting on it: anything but a regular file
// (a pipe, which would block until written to, a device, a folder) and files
// over kMaxPaletteFileSize are refused unread.
PaletteFileRead readPaletteFile(const QString &path);

// Writes `bytes` to `path` so that the file is either replaced whole or left
// as it was. Returns an empty text on success, else the reason in Chinese.
QString writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace tintavo
