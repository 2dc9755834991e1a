// Latitudes and longitudes as a user types them and reads them back: degrees followed by a
// hemisphere letter in either case ("52.52N", "13.40E", "30W", "0.8w"), or signed degrees with
// south and west negative ("-33.87", "-30").
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Degrees: latitude north positive, longitude east positive.
struct GeoSite {
    double latitude;
    double longitude;
};

// Within -90..90 and -180..180; anything else, an empty text included, gives nothing.
std::optional<double> parseLatitude(std::string_view text);
std::optional<double> parseLongitude(std::string_view text);
// "52.52N,13.40E" or "52.52,13.40" (south and west negative). Throws InputError.
GeoSite siteFromText(std::string_view text);
// A latitude and a longitude given apart (a settings file's); `where` follows the value in
// the error (" in vantorel.ini"). Throws InputError.
GeoSite siteFromParts(std::string_view latitude, std::string_view longitude, const std::string& where);

// Degrees with their hemisphere letter and no more decimals than they need: "19.2E", "30W".
std::string formatLatitude(double latitude);
std::string formatLongitude(double longitude);
std::string formatSite(const GeoSite& site);
