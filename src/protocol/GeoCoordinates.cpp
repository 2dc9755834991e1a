#include "protocol/GeoCoordinates.h"

#include "protocol/IntegerInput.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

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

std::optional<GeoSite> parseSite(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::optional<double> latitude = parseLatitude(text.substr(0, comma));
    const std::optional<double> longitude = parseLongitude(text.substr(comma + 1));
    if (!latitude || !longitude)
        return std::nullopt;
    return GeoSite{*latitude, *longitude};
}

std::string formatLatitude(double latitude) { return formatCoordinate(latitude, 'N', 'S'); }

std::string formatLongitude(double longitude) { return formatCoordinate(longitude, 'E', 'W'); }

std::string formatSite(const GeoSite& site) { return formatLatitude(site.latitude) + "," + formatLongitude(site.longitude); }
