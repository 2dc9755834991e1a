#include "protocol/SatelliteList.h"

#include "protocol/GeoCoordinates.h"
#include "protocol/InputError.h"
#include "protocol/IntegerInput.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

bool isSeparator(char c) { return c == ' ' || c == '-' || c == '\t'; }
char folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSeparator(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (isSeparator(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

enum class Match { None, Start, Whole };

// Walks `name` past blanks and hyphens, taking the typed letters (already folded, without
// separators) one by one.
Match matchName(const std::string& typed, const std::string& name)
{
    std::size_t at = 0;
    char last = 0;
    for (const char wanted : typed) {
        while (at < name.size() && isSeparator(name[at]))
            ++at;
        if (at == name.size() || folded(name[at]) != wanted)
            return Match::None;
        last = name[at++];
    }
    if (at == name.size() || std::all_of(name.begin() + static_cast<std::ptrdiff_t>(at), name.end(), isSeparator))
        return Match::Whole;
    const char next = name[at];
    return isSeparator(next) || isDigit(next) != isDigit(last) ? Match::Start : Match::None;
}

std::string foldedWithoutSeparators(std::string_view name)
{
    std::string typed;
    for (const char c : name) {
        if (!isSeparator(c))
            typed += folded(c);
    }
    return typed;
}

Match bestMatch(const std::string& typed, const SatellitePosition& position)
{
    Match best = Match::None;
    for (const std::string& known : position.names)
        best = std::max(best, matchName(typed, known));
    return best;
}

// A line names a position as the list shows it, to a ten-thousandth of a degree; positions
// merely near each other stay apart, so that each line either replaces the one it names or
// adds its own, and the order holds.
bool samePosition(double a, double b) { return std::lround(a * 10000) == std::lround(b * 10000); }

} // namespace

SatelliteList SatelliteList::fromText(std::string_view text)
{
    SatelliteList list;
    bool inList = false;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            std::string section;
            for (const char c : line)
                section += folded(c);
            inList = section == "[satellites]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inList || equals == std::string_view::npos)
            continue;
        const std::optional<double> longitude = parseLongitude(trimmed(line.substr(0, equals)));
        if (!longitude)
            continue;
        SatellitePosition position{*longitude, {}};
        for (std::string_view names = line.substr(equals + 1); !names.empty();) {
            const std::size_t comma = names.find(',');
            const std::string_view name = trimmed(names.substr(0, comma));
            if (!name.empty())
                position.names.emplace_back(name);
            names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 1);
        }
        if (!position.names.empty())
            list.add(std::move(position));
    }
    return list;
}

void SatelliteList::add(SatellitePosition position)
{
    const auto here = std::find_if(m_positions.begin(), m_positions.end(), [&](const SatellitePosition& known) {
        return samePosition(known.longitude, position.longitude);
    });
    if (here != m_positions.end()) {
        *here = std::move(position);
        return;
    }
    const auto after = std::find_if(m_positions.begin(), m_positions.end(), [&](const SatellitePosition& known) {
        return known.longitude > position.longitude;
    });
    m_positions.insert(after, std::move(position));
}

void SatelliteList::overlay(const SatelliteList& other)
{
    for (const SatellitePosition& position : other.m_positions)
        add(position);
}

std::vector<const SatellitePosition*> SatelliteList::find(std::string_view name) const
{
    const std::string typed = foldedWithoutSeparators(name);
    std::vector<const SatellitePosition*> whole, starts;
    if (typed.empty())
        return whole;
    for (const SatellitePosition& position : m_positions) {
        const Match best = bestMatch(typed, position);
        if (best == Match::Whole)
            whole.push_back(&position);
        else if (best == Match::Start)
            starts.push_back(&position);
    }
    return whole.empty() ? starts : whole;
}

std::vector<std::string> SatelliteList::namesFound(const SatellitePosition& position, std::string_view name)
{
    const std::string typed = foldedWithoutSeparators(name);
    std::vector<std::string> found;
    const Match best = typed.empty() ? Match::None : bestMatch(typed, position);
    for (const std::string& known : position.names) {
        if (best != Match::None && matchName(typed, known) == best)
            found.push_back(known);
    }
    return found;
}

double satelliteLongitude(std::string_view text, const SatelliteList& list)
{
    text = trimControls(text);
    if (const std::optional<double> longitude = parseLongitude(text))
        return *longitude;
    const std::vector<const SatellitePosition*> found = list.find(text);
    if (found.size() == 1)
        return found.front()->longitude;
    const std::string quotedText = "'" + std::string(text) + "'";
    if (found.empty())
        throw InputError(quotedText + " is neither a longitude (19.2E, 30W) nor a satellite in the list");
    std::string where;
    for (const SatellitePosition* position : found)
        where += (where.empty() ? "" : ", ") + formatLongitude(position->longitude);
    throw InputError(quotedText + " names satellites at " + where + ": give the position or a longer name");
}
