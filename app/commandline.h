#pragma once
// The command line. The program takes no arguments but --version and --help;
// each is answered on standard output before any window or display is needed.

#include <QString>

#include <optional>

// For a start with arguments: prints "Tallivox <version>" or the usage and gives
// the exit status 0, or says why an argument is refused, prints the usage to
// standard error and gives 2. A start without arguments gives nothing: the
// program runs.
std::optional<int> answerCommandLine(int argc, char* argv[], const QString& version);
