// The paths that depend on where the user's files live: the settings file an installed
// program reads and the folder file dialogs start in.
#pragma once

#include <QString>

#include <string>

// The settings file to read: the one beside the program when it exists (a build tree or a
// portable copy), otherwise vantorel.ini in the user's configuration folder
// (~/.config/vantorel/ on Linux), which is where an installed program finds its settings.
std::string settingsFilePath();

// Where file dialogs start: the program's folder when the user may write there, otherwise
// (an installed program in a system folder) the user's documents folder.
QString dialogStartFolder();
