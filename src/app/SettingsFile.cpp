#include "SettingsFile.h"

#include "AppPathsNative.h"

std::string settingsFilePath(const std::string& besideProgram)
{
    if (isRegularFile(besideProgram))
        return besideProgram;
    return userConfigFolder() + "vantorel" + PathSeparators[0] + "vantorel.ini";
}
