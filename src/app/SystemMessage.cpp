#include "app/SystemMessage.h"

std::string trimmedSystemText(std::string text)
{
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
