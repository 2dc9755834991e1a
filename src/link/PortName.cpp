// The one rule for "COMn" port names, the same on every platform.
#include "SerialIo.h"

#include <charconv>

namespace serial {

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

} // namespace serial
