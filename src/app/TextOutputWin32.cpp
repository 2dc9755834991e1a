#include "app/TextOutput.h"

#include "app/WideText.h"

#include <io.h>
#include <windows.h>

namespace {

HANDLE handleOf(std::FILE* stream)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

} // namespace

// A console answers GetConsoleMode; the NUL device, which _isatty takes for one, does not.
bool isTerminal(std::FILE* stream)
{
    const HANDLE handle = handleOf(stream);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

bool writeText(std::FILE* stream, std::string_view text)
{
    std::fflush(stream); // what went out through the stream before comes first
    const HANDLE handle = handleOf(stream);
    if (isTerminal(stream)) {
        const std::wstring wide = toWide(text);
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)
            && written == wide.size();
    }
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}
