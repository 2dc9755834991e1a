// System messages on POSIX: errno and strerror().
#include "SystemMessage.h"

#include <cerrno>
#include <cstring>

int lastSystemError()
{
    return errno;
}

std::string systemMessage(int code)
{
    return trimmedSystemText(std::strerror(code));
}
