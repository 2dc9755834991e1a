#include "app/ProgramArguments.h"

#include "app/WideText.h"

#include <windows.h>
#include <shellapi.h>

std::vector<std::string> programArguments(int, char*[])
{
    int count = 0;
    wchar_t** const wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i)
        arguments.push_back(fromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}
