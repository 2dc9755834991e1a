// The satellites an installer knows by name, each orbital position with the names of the
// satellites there; and the satellite a user means by a longitude or a name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct SatellitePosition {
    double longitude; // east positive
    std::vector<std::string> names;
};

class SatelliteList {
public:
    // The list's own text: "[satellites]" lines of POSITION = NAME, NAME... ("19.2E = Astra 1KR,
    // Astra 1L"). Lines that do not read as that are left out.
    static SatelliteList fromText(std::string_view text);

    // `other`'s positions replace this list's at the same position (as formatLongitude shows
    // it), and the rest are added: a user's own file renames and adds.
    void overlay(const SatelliteList& other);

    // West to east.
    const std::vector<SatellitePosition>& positions() const { return m_positions; }

    // The positions where a satellite of that name is: a whole name, or the start of one that
    // ends where a word or a number does ("Astra" for Astra 1KR, "Eutelsat 7" for Eutelsat 7B
    // but not 70B), regardless of case, blanks and hyphens ("hotbird" for Hot Bird 13F). A
    // whole name outweighs starts of others.
    std::vector<const SatellitePosition*> find(std::string_view name) const;
    // The names at `position` that `name` finds as find() does: the whole ones, else the starts.
    static std::vector<std::string> namesFound(const SatellitePosition& position, std::string_view name);

private:
    void add(SatellitePosition position);

    std::vector<SatellitePosition> m_positions;
};

// The list the programs carry, made from data/satellites.ini.
const SatelliteList& builtInSatellites();

// The satellite's longitude a user means: a longitude ("19.2E", "-30") or a name the list
// knows. Throws InputError: nothing known by that name, or a name found at several positions
// (which it lists).
double satelliteLongitude(std::string_view text, const SatelliteList& list);
