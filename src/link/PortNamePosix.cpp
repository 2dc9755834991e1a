// Port devices on POSIX systems: "COMn" stands for the n-th serial port, /dev/ttyS<n-1>.
#include "link/SerialIo.h"

namespace serial {

std::string devicePath(std::string_view portName)
{
    if (portName.find('/') != std::string_view::npos)
        return std::string(portName);
    if (const unsigned number = comPortNumber(portName))
        return "/dev/ttyS" + std::to_string(number - 1);
    return "/dev/" + std::string(portName);
}

} // namespace serial
