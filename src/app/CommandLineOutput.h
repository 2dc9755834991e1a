// Where the command line's answers go (the help, the version, a refused argument): the
// standard streams. A Windows window program started from the desktop or a shortcut has no
// streams to write to; there the answer is shown in a message box, so that the program never
// ends without a word.
#pragma once

#include <QString>

enum class CommandLineAnswer { Information, Error };

void tellCommandLineUser(const QString& text, CommandLineAnswer kind);
