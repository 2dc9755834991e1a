#include "IniProfile.h"

#include "IntegerInput.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

std::string trimBlanks(const std::string& text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    auto begin = std::find_if_not(text.begin(), text.end(), isBlank);
    auto end = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(begin), isBlank).base();
    return std::string(begin, end);
}

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

// A value written in matching quotes stands for the text between them.
std::string unquoted(const std::string& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

IniProfile IniProfile::load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    std::ostringstream text;
    text << file.rdbuf();
    return fromText(text.str());
}

IniProfile IniProfile::fromText(const std::string& text)
{
    IniProfile profile;
    std::string section;
    bool inSection = false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inSection = close != std::string::npos;
            if (inSection)
                section = lowerCase(trimBlanks(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        profile.m_entries.push_back({section, lowerCase(trimBlanks(line.substr(0, equals))),
                                     unquoted(trimBlanks(line.substr(equals + 1)))});
    }
    return profile;
}

std::string IniProfile::readString(const std::string& section, const std::string& key,
                                   const std::string& fallback) const
{
    const std::string wantedSection = lowerCase(section);
    const std::string wantedKey = lowerCase(key);
    for (const Entry& entry : m_entries) {
        if (entry.section == wantedSection && entry.key == wantedKey)
            return entry.value;
    }
    return fallback;
}

std::int32_t IniProfile::readInteger(const std::string& section, const std::string& key,
                                     std::int32_t fallback) const
{
    return parseIntegerOr(readString(section, key, std::string()), fallback);
}
