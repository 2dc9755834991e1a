// System messages on Windows: GetLastError() and the system's message table, in UTF-8 as the
// rest of the program's text, whatever letters the system's language writes them in.
#include "app/SystemMessage.h"

#include "app/WideText.h"

#include <windows.h>

int lastSystemError()
{
    return static_cast<int>(GetLastError());
}

std::string systemMessage(int code)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length > 0 ? fromWide(std::wstring_view(text, length)) : std::string();
    LocalFree(text);
    return trimmedSystemText(message);
}
