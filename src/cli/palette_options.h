#pragma once

#include "color/rgb.h"

#include <QCommandLineOption>
#include <QString>

#include <optional>

class QCommandLineParser;

namespace tintavo {

// The command line's palette questions, answered without a display and
// without the settings file:
//   --ramp COLOUR [--prefix NAME] [--as css|tailwind|gpl]  the eleven-step ramp
//   --harmony KIND COLOUR                                  the colour and its partners
//   --format TEMPLATE COLOUR                               a copy template filled in
struct PaletteOptions
{
    QCommandLineOption ramp{QStringLiteral("ramp")};
    QCommandLineOption prefix{QStringLiteral("prefix")};
    QCommandLineOption form{QStringLiteral("as")};
    QCommandLineOption harmony{QStringLiteral("harmony")};
    QCommandLineOption format{QStringLiteral("format")};
};
PaletteOptions addPaletteOptions(QCommandLineParser &parser);

// How many of --ramp, --harmony and --format were given.
int paletteQuestionCount(const QCommandLineParser &parser, const PaletteOptions &options);

// The status to end with once the question asked has been answered (0, or 2
// after one line on standard error for input that cannot be used); nothing
// when none was asked.
std::optional<int> answerPaletteQuestion(const QCommandLineParser &parser,
                                         const PaletteOptions &options);

// The line --name adds after the CSS name: "tailwind blue-500", or
// "tailwind blue-500 (最接近，ΔE_OK 0.012)" where the colour is not that one.
QString tailwindNameLine(Rgb c);

} // namespace tintavo
