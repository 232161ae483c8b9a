#pragma once

#include <QByteArrayView>
#include <QString>

#include <span>
#include <variant>

namespace tintavo {

// What survives between runs besides the swatch colours. The defaults are
// what a start without a settings file gets; how each is stored is its row in
// settingRows().
struct Settings
{
    bool autoSave = true;          // swatches and startSlot written at exit
    bool autoLoad = true;          // swatches read at start
    qint32 swatchCount = 64;       // as stored; start-up bounds it
    bool rememberStartSlot = true; // start capturing at startSlot
    qint32 startSlot = 0;          // next capture slot at the last exit
    bool showContrast = true;      // the preview's contrast read-out shown
    bool loupe = true;             // the picker's loupe shown
    // The side of the square the picker averages, as stored; the picker
    // takes anything but 1, 3 or 5 for 1.
    qint32 sampleSize = 1;
    // The loupe's cells a side, as stored; the picker takes an odd 7 to 31.
    qint32 loupeCells = 11;
    // Picks taken back to sRGB through the monitor's published profile.
    bool colorManaged = true;
    // The folder the palette file dialogs last went to; empty before the first.
    QString paletteFolder = QString();
};

// How a stored value is read. A missing key, or an empty value, gives the
// default; switches are written as 1 or 0, texts as UTF-8.
enum class SettingForm
{
    Switch,            // on only when 1: a hand-edited 2 or "yes" is off
    OnUnlessZero,      // off only when the number reads as 0
    OnUnlessPlainZero, // off only for a plain 0: a word the user may have meant otherwise stays on
    Number,            // a 32-bit integer
    Text,              // UTF-8, spaces around it dropped
};

// One setting: where the file keeps it, how it is read, whether this
// program writes it, and whether the settings dialog shows it.
struct SettingRow
{
    std::variant<bool Settings::*, qint32 Settings::*, QString Settings::*> field;
    QByteArrayView section;
    QByteArrayView key;
    SettingForm form;
    // false: read only here (StartPoint is the colour box's to write).
    bool written;
    bool inDialog;
};

// Every setting, in the order a save writes the keys of one change.
std::span<const SettingRow> settingRows();

// Whether row's value differs between a and b.
bool differs(const SettingRow &row, const Settings &a, const Settings &b);

} // namespace tintavo
