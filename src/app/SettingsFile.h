// Which settings file the program reads: the window and the command line read the same one.
#pragma once

#include "AppPaths.h"

#include <string>

// `besideProgram` when that file exists (a build tree or a portable copy), otherwise
// vantorel.ini in the user's configuration folder ($XDG_CONFIG_HOME/vantorel/ or
// ~/.config/vantorel/ on Linux, %LOCALAPPDATA%\vantorel\ on Windows), which is where an
// installed program finds its settings.
std::string settingsFilePath(const std::string& besideProgram = programSettingsPath());
