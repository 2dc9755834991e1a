// window-texts TITLE: what the shown controls of the shown top-level window whose title starts
// with TITLE say (a setup program's page, titled after its page), a line each in UTF-8, for a
// test to read what the page draws. Exits 1 when no such window is shown.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK printText(HWND control, LPARAM)
{
    // A control's text is its caption, which GetWindowTextW reads from another process too.
    wchar_t text[1024];
    const int length = IsWindowVisible(control) ? GetWindowTextW(control, text, 1024) : 0;
    if (length > 0) {
        std::string line(WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, length, line.data(), static_cast<int>(line.size()), nullptr, nullptr);
        std::printf("%s\n", line.c_str());
    }
    return TRUE;
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK findWindow(HWND window, LPARAM searchAddress)
{
    auto &search = *reinterpret_cast<Search *>(searchAddress);
    wchar_t title[256];
    const int length = IsWindowVisible(window) ? GetWindowTextW(window, title, 256) : 0;
    if (std::wstring(title, length).compare(0, search.title.size(), search.title) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 2) {
        std::fputs("usage: window-texts TITLE\n", stderr);
        return 2;
    }
    Search search{argv[1]};
    EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr)
        return 1;
    EnumChildWindows(search.found, printText, 0);
    return 0;
}
