// Which settings file a program reads. One rule for the window and the command line: the
// window reads its own, the command line the window's.
#pragma once

#include "app/AppPaths.h"

#include <string>

// The window's program name, whose settings the command line beside it reads.
inline const std::string WindowProgramName = "vantorel";

// `programName`.ini beside the running program when that file exists (a build tree or a
// portable copy), otherwise vantorel.ini in the user's configuration folder
// ($XDG_CONFIG_HOME/vantorel/ or ~/.config/vantorel/ on Linux, %LOCALAPPDATA%\vantorel\ on
// Windows), which is where an installed program finds its settings.
std::string settingsFilePath(const std::string& programName = AppName());
