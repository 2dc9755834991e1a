// Read-only access to the program's INI file, read the way Windows profile files are:
// section and key names ignore case, blanks around names and values are dropped, the first
// occurrence of a key wins and only the first section of a name counts, lines may end in a
// lone CR, a byte-order mark (UTF-8 or UTF-16) is understood, and anything missing or
// unreadable yields the caller's default.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IniProfile {
public:
    // A missing or unreadable file gives an empty profile.
    static IniProfile load(const std::string& path);
    static IniProfile fromText(const std::string& text);

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;

    // The value under the integer rule; a text that does not parse yields `fallback`.
    std::int32_t readInteger(const std::string& section, const std::string& key,
                             std::int32_t fallback) const;

private:
    struct Entry {
        std::string section; // lower case
        std::string key;     // lower case
        std::string value;
    };
    std::vector<Entry> m_entries;
};
