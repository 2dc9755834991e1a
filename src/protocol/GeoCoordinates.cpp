#include "protocol/GeoCoordinates.h"

#include "protocol/InputError.h"
#include "protocol/IntegerInput.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

constexpr const char* SiteExample = "52.52N,13.40E or 52.52,13.40";

// `positive` and `negative` are the hemisphere letters, upper case.
std::optional<double> parseCoordinate(std::string_view text, char positive, char negative, double limit)
{
    text = trimControls(text);
    if (text.empty())
        return std::nullopt;
    double sign = 1.0;
    const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    if (last == positive || last == negative) {
        sign = last == negative ? -1.0 : 1.0;
        text.remove_suffix(1);
    } else if (text.front() == '-' || text.front() == '+') {
        sign = text.front() == '-' ? -1.0 : 1.0;
        text.remove_prefix(1);
    }
    const std::optional<double> degrees = parsePlainDecimal(text);
    if (!degrees || *degrees > limit)
        return std::nullopt;
    return sign * *degrees;
}

std::string formatCoordinate(double value, char positive, char negative)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", std::fabs(value));
    std::string digits = text;
    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.back() == '.')
        digits.pop_back();
    return digits + (value < 0 && digits != "0" ? negative : positive);
}

} // namespace

std::optional<double> parseLatitude(std::string_view text) { return parseCoordinate(text, 'N', 'S', 90.0); }

std::optional<double> parseLongitude(std::string_view text) { return parseCoordinate(text, 'E', 'W', 180.0); }

GeoSite siteFromText(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        throw InputError("a site is LAT,LON (" + std::string(SiteExample) + "), not '" + std::string(text) + "'");
    return siteFromParts(text.substr(0, comma), text.substr(comma + 1), "");
}

GeoSite siteFromParts(std::string_view latitude, std::string_view longitude, const std::string& where)
{
    const std::optional<double> north = parseLatitude(latitude);
    if (!north)
        throw InputError("'" + std::string(latitude) + "'" + where + " is not a latitude (90S to 90N, or -90 to 90)");
    const std::optional<double> east = parseLongitude(longitude);
    if (!east)
        throw InputError("'" + std::string(longitude) + "'" + where
                         + " is not a longitude (180W to 180E, or -180 to 180)");
    return {*north, *east};
}

std::string formatLatitude(double latitude) { return formatCoordinate(latitude, 'N', 'S'); }

std::string formatLongitude(double longitude) { return formatCoordinate(longitude, 'E', 'W'); }

std::string formatSite(const GeoSite& site) { return formatLatitude(site.latitude) + "," + formatLongitude(site.longitude); }
