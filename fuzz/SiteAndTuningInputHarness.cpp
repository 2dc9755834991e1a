// Any text as what an installer types: a transponder, an LNB, a site, a satellite's longitude
// or name, a date, and a satellites list. Each either reads as a value within its range or is
// refused with InputError, never anything else; the magnetic field at any site is finite, a
// date reads back from its own form, and a list read from any text, and one of positions a
// hundredth of a degree apart, holds each position once, in order, and finds its own names.
#include "FuzzCheck.h"
#include "Harnesses.h"

#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "protocol/LnbTuning.h"
#include "protocol/MagneticModel.h"
#include "protocol/SatelliteAim.h"
#include "protocol/SatelliteList.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

namespace {

template <typename Parse>
auto readOrRefuse(Parse parse) -> std::optional<decltype(parse())>
{
    try {
        return parse();
    } catch (const InputError&) {
        return std::nullopt;
    }
}

bool within(double value, double limit) { return std::isfinite(value) && std::fabs(value) <= limit; }

void requireListInOrder(const SatelliteList& list)
{
    double west = -181;
    for (const SatellitePosition& position : list.positions()) {
        requireThat(within(position.longitude, 180) && position.longitude > west,
                    "the list runs west to east, each position once");
        west = position.longitude;
        for (const std::string& name : position.names) {
            bool found = false;
            for (const SatellitePosition* match : list.find(name))
                found = found || match == &position;
            requireThat(found, "a name finds its own position");
        }
    }
}

// The first bytes as a list's lines, each a position a hundredth of a degree apart from the
// next byte's value ("19.24E = s24"): whatever rule makes two lines one position shows in
// lists like these, which random text seldom makes.
std::string nearPositions(const std::string& bytes)
{
    std::string text = "[satellites]\n";
    for (std::size_t i = 0; i < bytes.size() && i < 16; ++i) {
        const unsigned hundredths = static_cast<unsigned char>(bytes[i]);
        char line[48];
        std::snprintf(line, sizeof line, "%u.%02uE = s%u\n", 19 + hundredths / 100, hundredths % 100, hundredths);
        text += line;
    }
    return text;
}

} // namespace

int fuzzSiteAndTuningInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    const auto transponder = readOrRefuse([&] { return parseTransponder(text); });
    if (transponder) {
        requireThat(transponder->frequencyMHz > 0 && std::isfinite(transponder->frequencyMHz),
                    "a transponder's frequency is above 0");
        const auto again = readOrRefuse([&] { return parseTransponder(formatTransponder(*transponder)); });
        requireThat(again && std::fabs(again->frequencyMHz - transponder->frequencyMHz) < 0.001
                        && again->polarisation == transponder->polarisation,
                    "a transponder reads back from its own form");
    }
    const auto lnb = readOrRefuse([&] { return parseLnb(text); });
    if (lnb && transponder) {
        const auto tuning = readOrRefuse([&] { return tuneLnb(*lnb, *transponder); });
        requireThat(!tuning || (tuning->intermediateMHz >= LowestIntermediateMHz
                                && tuning->intermediateMHz <= HighestIntermediateMHz),
                    "a tuning is on the cable's range");
    }

    if (const auto site = readOrRefuse([&] { return siteFromText(text); })) {
        requireThat(within(site->latitude, 90) && within(site->longitude, 180), "a site is on the Earth");
        const MagneticField field = builtInMagneticModel().fieldAt(*site, 0.0, 2027.0);
        requireThat(std::isfinite(field.declination()) && std::isfinite(field.horizontal()),
                    "the magnetic field is finite everywhere, the poles included");
    }
    if (const std::optional<CalendarDate> date = parseDate(text))
        requireThat(formatDate(*date) == text, "a date reads back from its own form");
    if (const auto longitude = readOrRefuse([&] { return satelliteLongitude(text, builtInSatellites()); }))
        requireThat(within(*longitude, 180), "a satellite's longitude is within 180 degrees");

    requireListInOrder(SatelliteList::fromText(text));
    requireListInOrder(SatelliteList::fromText(nearPositions(text)));
    return 0;
}
