// The one rule for "COMn" port names, the same on every platform, and the casing of the
// settings' port name.
#include "link/SerialIo.h"

#include <charconv>

namespace serial {
namespace {

#ifdef _WIN32
constexpr bool UpperCaseEveryName = true; // device names ignore case
#else
constexpr bool UpperCaseEveryName = false; // only COMn: other device names are case-sensitive
#endif

} // namespace

unsigned comPortNumber(std::string_view portName)
{
    constexpr std::string_view prefix = "COM";
    if (portName.size() <= prefix.size())
        return 0;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if ((portName[i] & ~0x20) != prefix[i])
            return 0;
    }
    const char* const first = portName.data() + prefix.size();
    const char* const last = portName.data() + portName.size();
    unsigned number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    return error == std::errc() && end == last ? number : 0;
}

std::string portNameFromSettings(std::string_view written)
{
    std::string name(written);
    if (!UpperCaseEveryName && comPortNumber(name) == 0)
        return name;
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

} // namespace serial
