#include "app/SettingsFile.h"

#include "app/AppPathsNative.h"

std::string settingsFilePath(const std::string& programName)
{
    const std::string besideProgram = programSettingsPath(programName);
    if (isRegularFile(besideProgram))
        return besideProgram;
    return userConfigFolder() + "vantorel" + PathSeparators[0] + "vantorel.ini";
}
