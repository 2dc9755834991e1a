// What the installer's tools keep beside the settings file, which they only read: the dish's
// site (the settings' [site] section, or the site last typed, which the program remembers in
// last-site.ini) and the user's own satellites (satellites.ini).
#pragma once

#include "protocol/GeoCoordinates.h"
#include "protocol/SatelliteList.h"

#include <optional>
#include <string>

// The file `name` in the settings file's folder, where the program keeps what it remembers.
std::string besideSettings(const std::string& settingsFile, const std::string& name);

// A site as a file holds it, not yet read as one.
struct StoredSite {
    std::string latitude;
    std::string longitude;
    std::string file;

    std::string text() const { return latitude + "," + longitude; }
};

// The settings' [site] section when it gives a site, else the site last typed; nothing when
// neither does.
std::optional<StoredSite> storedSite(const std::string& settingsFile);

// The site a command uses without --site; throws InputError for one that does not read as a
// site, naming its file.
std::optional<GeoSite> siteFromStore(const std::string& settingsFile);

// Keeps `site` as the one last typed, in place of the one kept before; when it could not be
// written, why ("cannot write /home/ann/.config/vantorel/last-site.ini: Permission denied").
std::optional<std::string> rememberSite(const std::string& settingsFile, const GeoSite& site);

// The file a user keeps their own satellites in.
std::string userSatellitesPath(const std::string& settingsFile);

// The built-in list with the user's own over it.
SatelliteList knownSatellites(const std::string& settingsFile);
