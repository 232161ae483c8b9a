#pragma once

#include "cli/command_line.h"

#include <QCommandLineOption>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

class QCommandLineParser;

namespace tintavo {

// The command line's reads of a picture or of the screen, with no window:
//   --pick --at X,Y [--size 1|3|5] [--image FILE]  the colour at a pixel
//   --extract N [--region X,Y,W,H] [--image FILE]   the main colours
//   --contrast FG --region X,Y,W,H [--image FILE]   FG over every pixel there
// With --image they are answered from the file, without a display; without
// it, from the screen once the application object exists.
struct SamplingOptions
{
    QCommandLineOption at{QStringLiteral("at")};
    QCommandLineOption size{QStringLiteral("size")};
    QCommandLineOption image{QStringLiteral("image")};
    QCommandLineOption extract{QStringLiteral("extract")};
};
SamplingOptions addSamplingOptions(QCommandLineParser &parser);

// The options these questions share with the rest of the command line.
struct SharedOptions
{
    const QCommandLineOption &pick;
    const QCommandLineOption &freeze;
    const QCommandLineOption &contrast;
    const QCommandLineOption &region;
};

// What the command line comes to when --at, --size, --image or --extract is
// given: an exit status once a picture has been answered about, or misused
// options refused with one line on standard error (status 2); otherwise the
// screen question to ask once a display is there. Nothing when none of them
// is given. Reads no settings; writes nothing.
std::optional<CommandLine> answerSamplingQuestion(const QCommandLineParser &parser,
                                                  const SamplingOptions &options,
                                                  const SharedOptions &shared);

// X,Y,W,H with X, Y 0 or more and W, H 1 or more; nothing for anything else.
std::optional<QRect> readRegionArgument(const QString &text);

// tintavo --pick --at without --image, once the application object exists:
// prints the colour of the screen at a device pixel, averaged over `size`,
// colour-managed as picks are; status 0. A point off the screen, or a screen
// that cannot be read, ends with one line on standard error and status 2.
int runScreenPick(QPoint at, int size);

// tintavo --extract without --image: prints the screen's (or the
// rectangle's) main colours, one "#rrggbb  NN%" line each; status 0, or 2 as
// above.
int runScreenExtraction(int count, const std::optional<QRect> &region);

// tintavo --contrast FG --region, once the application object exists: reads
// the rectangle of the screen and prints the contrast of FG over its pixels
// (regionContrastText), colour-managed as picks are; status 0, or 2 as above.
int runRegionContrast(Rgb text, const QRect &region);

// tintavo --pick --image FILE: the picture opened as a frame to pick from,
// printing what is picked as --pick does; a picture refused: one line on
// standard error, status 2.
int runPictureFramePick(const QString &path);

} // namespace tintavo
