// On Windows the program's own strings (paths, port names, system messages, arguments) are
// UTF-8, and every system call takes its names in UTF-16 through the wide API, so that any
// name works whatever the user's code page. These two convert between the forms.
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);

#endif
