// System messages on Windows: GetLastError() and the system's message table, in the ANSI
// code page as the rest of the program's text.
#include "SystemMessage.h"

#include <windows.h>

int lastSystemError()
{
    return static_cast<int>(GetLastError());
}

std::string systemMessage(int code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    return trimmedSystemText(message);
}
