// System messages on POSIX: errno and strerror().
#include "app/SystemMessage.h"

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
