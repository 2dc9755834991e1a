#include "link/ProgramSettings.h"

#include "app/IniProfile.h"
#include "link/SerialIo.h"

ProgramSettings readProgramSettings(const std::string& path)
{
    const IniProfile ini = IniProfile::load(path);
    const ProgramSettings defaults;
    ProgramSettings settings;
    settings.port = serial::portNameFromSettings(ini.readString("init", "port", defaults.port));
    settings.baud = ini.readInteger("init", "baud", defaults.baud);
    settings.logLines = ini.readInteger("init", "loglines", defaults.logLines);
    return settings;
}
