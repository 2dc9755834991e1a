#include "app/SiteFiles.h"

#include "app/AppPathsNative.h"
#include "app/IniProfile.h"
#include "protocol/GeoCoordinates.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

// Through filesystem paths, so that on Windows UTF-8 names open through the wide API.
std::filesystem::path pathOf(const std::string& name)
{
    return std::filesystem::u8path(name);
}

std::string rememberedSitePath(const std::string& settingsFile)
{
    return besideSettings(settingsFile, "last-site.ini");
}

std::optional<StoredSite> siteSection(const std::string& file)
{
    const IniProfile profile = IniProfile::load(file);
    StoredSite site{profile.readString("site", "latitude", ""), profile.readString("site", "longitude", ""), file};
    if (site.latitude.empty() && site.longitude.empty())
        return std::nullopt;
    return site;
}

} // namespace

std::string besideSettings(const std::string& settingsFile, const std::string& name)
{
    const std::size_t separator = settingsFile.find_last_of(PathSeparators);
    return (separator == std::string::npos ? std::string() : settingsFile.substr(0, separator + 1)) + name;
}

std::optional<StoredSite> storedSite(const std::string& settingsFile)
{
    if (std::optional<StoredSite> site = siteSection(settingsFile))
        return site;
    return siteSection(rememberedSitePath(settingsFile));
}

std::optional<GeoSite> siteFromStore(const std::string& settingsFile)
{
    const std::optional<StoredSite> stored = storedSite(settingsFile);
    if (!stored)
        return std::nullopt;
    return siteFromParts(stored->latitude, stored->longitude, " in " + stored->file);
}

std::optional<std::string> rememberSite(const std::string& settingsFile, const GeoSite& site)
{
    const std::string name = rememberedSitePath(settingsFile);
    const std::filesystem::path path = pathOf(name);
    std::error_code error;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), error);
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << "; The site last typed in Vantorel; the settings' [site] section comes first.\n[site]\nlatitude="
         << formatLatitude(site.latitude) << "\nlongitude=" << formatLongitude(site.longitude) << "\n";
    file.close();
    if (!file.fail())
        return std::nullopt;
    const int code = errno; // the C library's, on every system
    return "cannot write " + name + (code ? ": " + std::generic_category().message(code) : std::string());
}

std::string userSatellitesPath(const std::string& settingsFile)
{
    return besideSettings(settingsFile, "satellites.ini");
}

SatelliteList knownSatellites(const std::string& settingsFile)
{
    SatelliteList list = builtInSatellites();
    std::ifstream file(pathOf(userSatellitesPath(settingsFile)), std::ios::binary);
    if (file) {
        std::ostringstream text;
        text << file.rdbuf();
        list.overlay(SatelliteList::fromText(text.str()));
    }
    return list;
}
