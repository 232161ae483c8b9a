#pragma once

#include "color/rgb.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdio>
#include <optional>
#include <utility>

namespace tintavo {

class OneShotPick;

// Gives the application its name, version and desktop id; the id is also the
// app id its windows carry, so a desktop groups them under the installed entry.
void describeApplication();

// What the command line settles before any window exists: --help and
// --version print and end the program, and so do --contrast FG BG, --name
// COLOUR, the palette questions (palette_options.h) and the questions about a
// picture (sampling_commands.h), which print their answer on standard output
// (status 0); an unknown
// option, a colour that cannot be read, and a start with no display to show a
// window on (none set, none that fits the platform, or one that cannot be
// reached), end it with a one-line hint on standard error and status 2.
// None of them reads or writes the settings file. tintavo FG BG starts the
// window with that pair; a colour there that cannot be read ends it as above.
struct CommandLine
{
    // The status to end with at once; nothing when the program should start.
    std::optional<int> exitStatus = std::nullopt;
    // --pick: one pick for a script (runOneShotPick) instead of the main window.
    bool pickOnce = false;
    // --freeze[=SECONDS] with --pick: the seconds after which the screen freezes.
    std::optional<int> freezeAfter{};
    // tintavo FG BG: the foreground and background the window opens with.
    std::optional<std::pair<Rgb, Rgb>> startPair = std::nullopt;
    // --capture, or --freeze without --pick: the desktop-entry action
    // ("capture", "freeze") for the copy that runs, or for this one where
    // none does.
    QString action = QString();
    // --contrast FG --region X,Y,W,H: the text colour and the rectangle of
    // the screen (device pixels) to measure it over (runRegionContrast).
    std::optional<std::pair<Rgb, QRect>> regionContrast = std::nullopt;
    // --pick --at X,Y [--size N]: the device pixel of the screen and the
    // sample size (runScreenPick).
    std::optional<std::pair<QPoint, int>> screenPick = std::nullopt;
    // --extract N [--region X,Y,W,H]: how many of the screen's main colours,
    // and from where; the whole screen without a rectangle (runScreenExtraction).
    std::optional<std::pair<int, std::optional<QRect>>> screenExtraction = std::nullopt;
    // --pick --image FILE: the picture to pick from (runPictureFramePick).
    QString pictureFramePick = {};
};
CommandLine handleCommandLine(int argc, char *argv[]);

// tintavo --pick, once the application object exists: prints the colour
// picked as #RRGGBB and returns 0; returns 1, printing nothing, when the user
// calls the pick off, and 2 with one line on standard error when no pick can
// be made. Reads the picker's settings; writes nothing. With `freezeAfter`,
// the pick is made from the screen frozen after that many seconds.
int runOneShotPick(std::optional<int> freezeAfter = std::nullopt);
// Runs `pick` to its end, printing the colour picked: status 0, 1 when it
// was called off, 2 when it failed.
int runPick(OneShotPick &pick);

// What the command-line answers share. One line for standard error, in
// Chinese and in English.
QString hint(const char *chinese, const char *english);
void printLine(std::FILE *stream, const QString &text);
// A colour argument read as everywhere else; what reading it had to give up
// (an alpha, a colour outside sRGB) goes to standard error, one line each, and
// a text that is no colour gets one line there saying how a colour is written,
// and nothing back.
std::optional<Rgb> readColorArgument(const QString &text);

} // namespace tintavo
