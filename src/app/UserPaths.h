// Where the user's files live: the folder file dialogs start in.
#pragma once

#include <QString>

// Where file dialogs start: the program's folder when the user may write there, otherwise
// (an installed program in a system folder) the user's documents folder.
QString dialogStartFolder();
