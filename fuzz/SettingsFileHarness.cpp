// Any bytes as the settings file: the keys the program reads must come back without a crash,
// looked up regardless of case, and numbers must follow the integer rule.
#include "FuzzCheck.h"
#include "Harnesses.h"

#include "app/IniProfile.h"
#include "protocol/IntegerInput.h"

#include <string>

int fuzzSettingsFile(const std::uint8_t* data, std::size_t size)
{
    const IniProfile profile = IniProfile::fromText(std::string(reinterpret_cast<const char*>(data), size));

    const std::string port = profile.readString("init", "port", "COM1");
    requireThat(port == profile.readString("INIT", "Port", "COM1"), "section and key names ignore case");
    for (const char* key : {"baud", "loglines"}) {
        const std::string text = profile.readString("init", key, std::string());
        requireThat(profile.readInteger("init", key, -7) == parseIntegerOr(text, -7),
                    "a number in the settings follows the integer rule");
    }
    return 0;
}
