// The executable's path on Windows and the user's local application data folder, in UTF-8.
#include "app/AppPathsNative.h"

#include "app/WideText.h"

#include <windows.h>
#include <shlobj.h>

const char* const PathSeparators = "\\/";

std::string executablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size()) {
            path.resize(length);
            return fromWide(path);
        }
        path.resize(path.size() * 2); // the name was cut: try again with more room
    }
}

bool isRegularFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string userConfigFolder()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return fromWide(folder) + '\\';
}
