// Where the program lives: its name and folder, fixed once at start-up.
#pragma once

#include <string>

// The executable's file name without its extension ("tool.v2" for tool.v2.exe).
const std::string& AppName();

// The executable's folder with a trailing separator.
const std::string& AppDir();

// AppDir + `programName` + ".ini": the settings file of the program of that name beside the
// running one; by default the running program's own.
std::string programSettingsPath(const std::string& programName = AppName());

// Points the program paths elsewhere (tests run a copy of the program's settings in a
// folder of their own). `dir` gets a trailing separator when it lacks one.
void overrideAppPaths(const std::string& dir, const std::string& name);

// The name part of an executable's path: everything from the last "." removed.
std::string appNameFromPath(const std::string& executablePath);
