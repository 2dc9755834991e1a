#include "protocol/MagneticModel.h"

#include "protocol/InputError.h"
#include "protocol/Wgs84.h"

#include <charconv>
#include <cmath>

// The synthesis follows the World Magnetic Model's technical report (NOAA NCEI and BGS): the
// coefficients moved to the date by their yearly change, the site turned from geodetic to
// geocentric coordinates on the WGS84 ellipsoid, the field summed from the Schmidt
// semi-normalised associated Legendre functions of the geocentric colatitude, and turned back
// to the site's geodetic north and down.

namespace {

using Wgs84::degrees;
using Wgs84::Pi;
using Wgs84::radians;

constexpr double ReferenceRadiusKm = 6371.2; // the model's own, not the ellipsoid's

// The blank-separated numbers of one line. Throws InputError for anything else.
std::vector<double> numbers(std::string_view line)
{
    std::vector<double> values;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos)
            return values;
        const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
        double value = 0.0;
        const auto [stop, error] = std::from_chars(line.data() + at, line.data() + end, value);
        if (error != std::errc() || stop != line.data() + end)
            throw InputError("'" + std::string(line) + "' is not a line of a magnetic model");
        values.push_back(value);
        at = end;
    }
}

// P[n][m] and its derivative by the colatitude, Schmidt semi-normalised, for n up to `maxDegree`:
// the Gauss-normalised recursion, then the normalising factors.
struct Legendre {
    std::vector<std::vector<double>> p, dp;

    Legendre(int maxDegree, double colatitude)
        : p(maxDegree + 1, std::vector<double>(maxDegree + 1, 0.0))
        , dp(maxDegree + 1, std::vector<double>(maxDegree + 1, 0.0))
    {
        const double c = std::cos(colatitude);
        const double s = std::sin(colatitude);
        p[0][0] = 1.0;
        for (int n = 1; n <= maxDegree; ++n) {
            for (int m = 0; m <= n; ++m) {
                if (m == n) {
                    p[n][m] = s * p[n - 1][m - 1];
                    dp[n][m] = s * dp[n - 1][m - 1] + c * p[n - 1][m - 1];
                } else {
                    const double k = n > 1 ? double((n - 1) * (n - 1) - m * m) / ((2 * n - 1) * (2 * n - 3)) : 0.0;
                    const double before = n > 1 ? p[n - 2][m] : 0.0;
                    const double dBefore = n > 1 ? dp[n - 2][m] : 0.0;
                    p[n][m] = c * p[n - 1][m] - k * before;
                    dp[n][m] = c * dp[n - 1][m] - s * p[n - 1][m] - k * dBefore;
                }
            }
        }
        double schmidt = 1.0;
        for (int n = 1; n <= maxDegree; ++n) {
            schmidt *= (2.0 * n - 1.0) / n;
            double factor = schmidt;
            for (int m = 0; m <= n; ++m) {
                if (m > 0)
                    factor *= std::sqrt((n - m + 1.0) * (m == 1 ? 2.0 : 1.0) / (n + m));
                p[n][m] *= factor;
                dp[n][m] *= factor;
            }
        }
    }
};

} // namespace

double MagneticField::declination() const { return degrees(std::atan2(east, north)); }

double MagneticField::horizontal() const { return std::hypot(north, east); }

MagneticModel MagneticModel::fromText(std::string_view text)
{
    MagneticModel model;
    bool header = true;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.find_first_not_of(" \t\r") == std::string_view::npos)
            continue;
        if (line.substr(line.find_first_not_of(" \t")).substr(0, 4) == "9999")
            break;
        if (header) {
            // "    2025.0            WMM-2025        11/13/2024": the epoch comes first.
            header = false;
            model.m_epoch = numbers(line.substr(0, line.find_first_of(" \t", line.find_first_not_of(" \t")))).at(0);
            continue;
        }
        const std::vector<double> values = numbers(line);
        if (values.size() != 6 || values[0] < 1 || values[1] < 0 || values[1] > values[0])
            throw InputError("'" + std::string(line) + "' is not a line of a magnetic model");
        const Term term{int(values[0]), int(values[1]), values[2], values[3], values[4], values[5]};
        model.m_maxDegree = std::max(model.m_maxDegree, term.degree);
        model.m_terms.push_back(term);
    }
    if (model.m_terms.empty())
        throw InputError("a magnetic model without coefficients");
    return model;
}

MagneticField MagneticModel::fieldAt(const GeoSite& site, double heightKm, double decimalYear) const
{
    const double latitude = radians(site.latitude);
    const double longitude = radians(site.longitude);
    const Wgs84::MeridianPlace place = Wgs84::meridianPlace(latitude, heightKm);
    const double radius = std::hypot(place.fromAxis, place.alongAxis);
    const double geocentricLatitude = std::asin(place.alongAxis / radius);

    const Legendre legendre(m_maxDegree, Pi / 2.0 - geocentricLatitude);
    const double years = decimalYear - m_epoch;
    // North, east and down in the geocentric frame.
    double north = 0.0, east = 0.0, down = 0.0;
    for (const Term& term : m_terms) {
        const int n = term.degree, m = term.order;
        const double g = term.g + years * term.gPerYear;
        const double h = term.h + years * term.hPerYear;
        const double scale = std::pow(ReferenceRadiusKm / radius, n + 2);
        const double cosine = std::cos(m * longitude), sine = std::sin(m * longitude);
        north += scale * (g * cosine + h * sine) * legendre.dp[n][m];
        east += scale * m * (g * sine - h * cosine) * legendre.p[n][m];
        down -= scale * (n + 1) * (g * cosine + h * sine) * legendre.p[n][m];
    }
    // At a pole the east part has no direction; a hair beside it gives the limit.
    east /= std::max(std::cos(geocentricLatitude), 1e-9);

    const double tilt = geocentricLatitude - latitude;
    return {north * std::cos(tilt) - down * std::sin(tilt), east, north * std::sin(tilt) + down * std::cos(tilt)};
}
