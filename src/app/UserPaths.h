// Where the user's files live: the folder file dialogs start in.
#pragma once

#include <QString>

// Where file dialogs start: the program's folder when the user may write there and the setup
// program did not install it there (a portable copy, the build tree), otherwise (an installed
// program) the user's documents folder.
QString dialogStartFolder();
