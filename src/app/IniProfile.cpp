#include "app/IniProfile.h"

#include "protocol/IntegerInput.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

namespace {

void appendUtf8(std::string& text, char32_t code)
{
    const auto byte = [&](char32_t bits) { text.push_back(static_cast<char>(bits)); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3F));
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

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

// The text of a file in the system's narrow encoding: a UTF-8 byte-order mark is dropped, and
// a UTF-16 file (with its byte-order mark) is converted to UTF-8.
std::string narrowText(const std::string& bytes)
{
    const auto startsWith = [&](std::string_view mark) { return bytes.compare(0, mark.size(), mark) == 0; };
    if (startsWith("\xEF\xBB\xBF"))
        return bytes.substr(3);
    const bool littleEndian = startsWith("\xFF\xFE");
    if (!littleEndian && !startsWith("\xFE\xFF"))
        return bytes;

    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? char32_t(first | second << 8) : char32_t(first << 8 | second);
    };
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char32_t code = unitAt(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(text, code);
    }
    return text;
}

// Lines end at LF, CR LF or a lone CR.
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
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
    // Through a filesystem path, so that on Windows the UTF-8 name opens through the wide API.
    std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
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
    std::vector<std::string> sectionsSeen;
    bool inSection = false;
    for (std::string line : splitLines(narrowText(text))) {
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = close == std::string::npos ? std::string() : lowerCase(trimBlanks(line.substr(1, close - 1)));
            // Keys are looked up in the first section of a name only.
            inSection = close != std::string::npos
                && std::find(sectionsSeen.begin(), sectionsSeen.end(), section) == sectionsSeen.end();
            if (inSection)
                sectionsSeen.push_back(section);
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
