#pragma once

#include <optional>

namespace tintavo {

// Gives the application its name, version and desktop id; the id is also the
// app id its windows carry, so a desktop groups them under the installed entry.
void describeApplication();

// What the command line settles before any window exists: --help and
// --version print and end the program; an unknown option, and a start with
// no display to show a window on (none set, none that fits the platform, or
// one that cannot be reached), end it with a one-line hint on standard error
// and status 2. Returns the exit status in those cases, nothing when the
// program should start.
// Neither case reads or writes the settings file.
std::optional<int> handleCommandLine(int argc, char *argv[]);

} // namespace tintavo
