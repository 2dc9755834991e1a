// The program's command line, read before any window or display exists: --help, --version,
// and the toolkit's own options, which pass through to the application object.
#pragma once

#include <QStringList>

#include <optional>

// Prints the help or the version, or a message about an unknown option or argument. Gives
// the exit code when the program ends here (0, or 2 for a usage error), and nothing when
// it goes on to open its window.
std::optional<int> answerCommandLine(const QStringList& arguments);
