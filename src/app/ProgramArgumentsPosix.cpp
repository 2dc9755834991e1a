#include "app/ProgramArguments.h"

std::vector<std::string> programArguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv, argv + argc);
}
