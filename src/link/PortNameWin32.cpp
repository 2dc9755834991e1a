// Port devices on Windows: a name goes under "\\.\", which every COM port answers to,
// COM10 and above included.
#include "link/SerialIo.h"

namespace serial {

std::string devicePath(std::string_view portName)
{
    if (portName.find_first_of("\\/") != std::string_view::npos)
        return std::string(portName);
    // A plain device name may end in a colon ("COM3:"); under "\\.\" it would name no device.
    if (!portName.empty() && portName.back() == ':')
        portName.remove_suffix(1);
    return "\\\\.\\" + std::string(portName);
}

} // namespace serial
