// Where the program lives: its name and folder, fixed once at start-up, and the paths
// derived from them: the settings file and the folder file dialogs start in.
#pragma once

#include <QString>

#include <string>

// The executable's file name without its extension ("tool.v2" for tool.v2.exe).
const std::string& AppName();

// The executable's folder with a trailing separator.
const std::string& AppDir();

// AppDir + AppName + ".ini": the settings file beside the program.
std::string programSettingsPath();

// The settings file to read: the one beside the program when it exists (a build tree or a
// portable copy), otherwise vantorel.ini in the user's configuration folder
// (~/.config/vantorel/ on Linux), which is where an installed program finds its settings.
std::string settingsFilePath();

// Where file dialogs start: the program's folder when the user may write there, otherwise
// (an installed program in a system folder) the user's documents folder.
QString dialogStartFolder();

// Points the program paths elsewhere (tests run a copy of the program's settings in a
// folder of their own). `dir` gets a trailing separator when it lacks one.
void overrideAppPaths(const std::string& dir, const std::string& name);

// The name part of an executable's path: everything from the last "." removed.
std::string appNameFromPath(const std::string& executablePath);
