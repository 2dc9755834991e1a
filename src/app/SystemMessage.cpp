#include "SystemMessage.h"

#include <cerrno>
#include <cstring>

int lastSystemError()
{
    return errno;
}

std::string systemMessage(int code)
{
    std::string text = std::strerror(code);
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        if (last > 32 && last != '.')
            break;
        text.pop_back();
    }
    return text;
}

std::string systemMessage()
{
    return systemMessage(lastSystemError());
}
