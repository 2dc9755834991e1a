// Program paths and system messages as the platform gives them, on every platform.
#include "app/AppPaths.h"
#include "app/SystemMessage.h"

#include "doctest.h"

#include <string>

TEST_CASE("the program's name and folder come from its executable")
{
    CHECK(AppName() == "tst_appplatform");
    REQUIRE_FALSE(AppDir().empty());
    CHECK(AppDir().find("tests") != std::string::npos);
    const char last = AppDir().back();
    CHECK((last == '/' || last == '\\'));
    CHECK(programSettingsPath() == AppDir() + "tst_appplatform.ini");
#ifdef _WIN32
    CHECK(appNameFromPath("C:\\Program Files\\v.1\\tool.v2.exe") == "tool.v2");
#endif
}

TEST_CASE("system messages lose trailing periods, blanks and line ends")
{
    const std::string text = systemMessage(2); // "file not found" on both systems
    REQUIRE_FALSE(text.empty());
    const char last = text.back();
    CHECK(last != '.');
    CHECK(last != ' ');
    CHECK(static_cast<unsigned char>(last) > 32);
    CHECK(trimmedSystemText("Access denied. \r\n") == "Access denied");
}
