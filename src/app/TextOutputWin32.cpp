#include "app/TextOutput.h"

#include "app/WideText.h"

#include <io.h>
#include <windows.h>

bool writeText(std::FILE* stream, std::string_view text)
{
    std::fflush(stream); // what went out through the stream before comes first
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::wstring wide = toWide(text);
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)
            && written == wide.size();
    }
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}
