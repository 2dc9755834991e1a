#include "ControlWire.h"

#include <array>
#include <limits>
#include <utility>

namespace boxcontrol {
namespace {

constexpr std::array<std::pair<boxsim::Fault, std::string_view>, 6> FaultNames{{
    {boxsim::Fault::None, "none"},
    {boxsim::Fault::Silent, "silent"},
    {boxsim::Fault::Short, "short"},
    {boxsim::Fault::Long, "long"},
    {boxsim::Fault::Late, "late"},
    {boxsim::Fault::Split, "split"},
}};

int digitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

} // namespace

std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    while (!line.empty()) {
        const std::size_t blank = line.find(' ');
        words.push_back(line.substr(0, blank));
        line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    }
    return words;
}

std::string hexOf(const std::uint8_t* bytes, std::size_t size)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text += Digits[bytes[i] >> 4];
        text += Digits[bytes[i] & 0x0F];
    }
    return text;
}

bool bytesOfHex(std::string_view text, std::vector<std::uint8_t>& bytes)
{
    if (text.size() % 2 != 0)
        return false;
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = digitValue(text[i]);
        const int low = digitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

bool parseNumber(std::string_view text, std::size_t& value)
{
    constexpr std::size_t Largest = std::numeric_limits<std::size_t>::max();
    if (text.empty())
        return false;
    std::size_t result = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9')
            return false;
        const std::size_t next = static_cast<std::size_t>(digit - '0');
        if (result > (Largest - next) / 10)
            return false;
        result = result * 10 + next;
    }
    value = result;
    return true;
}

std::string_view faultName(boxsim::Fault fault)
{
    for (const auto& [known, name] : FaultNames) {
        if (known == fault)
            return name;
    }
    return {};
}

bool faultNamed(std::string_view name, boxsim::Fault& fault)
{
    for (const auto& [known, knownName] : FaultNames) {
        if (knownName == name) {
            fault = known;
            return true;
        }
    }
    return false;
}

} // namespace boxcontrol
