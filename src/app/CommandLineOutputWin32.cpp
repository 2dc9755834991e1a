#include "app/CommandLineOutput.h"

#include "app/TextOutput.h"

#include <cstdio>

#include <windows.h>

namespace {

// Whether the program was given a stream (a console, a pipe or a file) for `which`.
bool hasStream(DWORD which)
{
    const HANDLE handle = ::GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void tellCommandLineUser(const QString& text, CommandLineAnswer kind)
{
    const bool error = kind == CommandLineAnswer::Error;
    if (hasStream(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) {
        writeText(error ? stderr : stdout, text.toUtf8().toStdString());
        return;
    }
    ::MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()), L"Vantorel",
                  MB_OK | MB_SETFOREGROUND | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}
