#include "app/InstallerFiles.h"

#include "app/AppPathsNative.h"
#include "app/IniProfile.h"
#include "protocol/SatelliteAim.h"

#include <filesystem>
#include <fstream>
#include <sstream>

std::optional<GeoSite> siteFromSettings(const std::string& settingsFile)
{
    const IniProfile profile = IniProfile::load(settingsFile);
    const std::string latitude = profile.readString("site", "latitude", "");
    const std::string longitude = profile.readString("site", "longitude", "");
    if (latitude.empty() && longitude.empty())
        return std::nullopt;
    return siteFromParts(latitude, longitude, " in " + settingsFile);
}

std::string userSatellitesPath(const std::string& settingsFile)
{
    const std::size_t separator = settingsFile.find_last_of(PathSeparators);
    return (separator == std::string::npos ? std::string() : settingsFile.substr(0, separator + 1)) + "satellites.ini";
}

SatelliteList knownSatellites(const std::string& settingsFile)
{
    SatelliteList list = builtInSatellites();
    // Through a filesystem path, so that on Windows the UTF-8 name opens through the wide API.
    std::ifstream file(std::filesystem::u8path(userSatellitesPath(settingsFile)), std::ios::binary);
    if (file) {
        std::ostringstream text;
        text << file.rdbuf();
        list.overlay(SatelliteList::fromText(text.str()));
    }
    return list;
}
