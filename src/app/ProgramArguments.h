// The program's arguments as its own strings: on Windows read from the wide command line and
// given in UTF-8 (the narrow argv holds only what the code page can spell), elsewhere argv as
// the system gave it.
#pragma once

#include <string>
#include <vector>

// The program's name as it was started, then every argument.
std::vector<std::string> programArguments(int argc, char* argv[]);
