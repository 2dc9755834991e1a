// The Earth's main magnetic field from a spherical-harmonic model in the World Magnetic
// Model's coefficient file format (data/WMM2025.COF), at a place and a date: what turns a
// true-north azimuth into the bearing a compass shows.
#pragma once

#include "protocol/DishPointing.h"

#include <string_view>
#include <vector>

// The field's parts in nanotesla, along the site's geodetic north, east and down.
struct MagneticField {
    double north;
    double east;
    double down;

    // Degrees from true north to magnetic north, east positive.
    double declination() const;
    // What a compass needle feels.
    double horizontal() const;
};

class MagneticModel {
public:
    // The coefficient file's text: a header line with the epoch, then "N M G H GDOT HDOT"
    // lines, ended by a line of 9s. Throws InputError for a text that is not one.
    static MagneticModel fromText(std::string_view text);

    // The model holds from its epoch for five years.
    double firstYear() const { return m_epoch; }
    double endYear() const { return m_epoch + 5.0; }
    bool covers(double decimalYear) const { return decimalYear >= firstYear() && decimalYear < endYear(); }

    // At `heightKm` above the WGS84 ellipsoid, in `decimalYear` (2026.5 is the middle of 2026).
    MagneticField fieldAt(const GeoSite& site, double heightKm, double decimalYear) const;

private:
    struct Term {
        int degree, order;
        double g, h, gPerYear, hPerYear;
    };

    double m_epoch = 0.0;
    int m_maxDegree = 0;
    std::vector<Term> m_terms;
};

// The World Magnetic Model 2025 the programs carry, read from its text when first asked for.
const MagneticModel& builtInMagneticModel();
