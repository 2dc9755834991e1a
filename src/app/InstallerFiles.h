// What the installer's tools find beside the settings file: the dish's site in its [site]
// section, and the user's own satellites list, satellites.ini in the same folder.
#pragma once

#include "protocol/DishPointing.h"
#include "protocol/SatelliteList.h"

#include <optional>
#include <string>

// The [site] section's latitude and longitude; nothing when the section gives neither.
// Throws InputError for a value that does not read as one, naming the file.
std::optional<GeoSite> siteFromSettings(const std::string& settingsFile);

// The file a user keeps their own satellites in.
std::string userSatellitesPath(const std::string& settingsFile);

// The built-in list with the user's own over it.
SatelliteList knownSatellites(const std::string& settingsFile);
