// Port devices on Windows: a name goes under "\\.\", which every COM port answers to,
// COM10 and above included.
#include "SerialIo.h"

namespace serial {

std::string devicePath(std::string_view portName)
{
    if (portName.find_first_of("\\/") != std::string_view::npos)
        return std::string(portName);
    return "\\\\.\\" + std::string(portName);
}

} // namespace serial
