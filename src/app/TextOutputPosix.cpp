#include "app/TextOutput.h"

#include <unistd.h>

bool writeText(std::FILE* stream, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}

bool isTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) == 1;
}
