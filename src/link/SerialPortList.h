// The serial ports this machine has, for the user to pick one by name. Each line printed
// for a port is its name, then, when there is one, two blanks and its detail:
//   /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0  /dev/ttyUSB0
//   COM3  USB Serial Port (COM3)
#pragma once

#include <string>
#include <vector>

namespace serial {

struct SerialPortEntry {
    std::string name;   // what the user puts in --port or the settings
    std::string detail; // the device behind a by-id link, or the name Windows' Device
                        // Manager shows for a COM port; empty where there is none
    bool console = false; // the kernel's console: its messages, perhaps a login, go there
};

// Linux: the /dev/serial/by-id links, then the ttyUSB, ttyACM and ttyS devices, each group
// in natural order (ttyS2 before ttyS10); a device named in /sys/class/tty/console/active
// is marked as the console. Windows: the COM ports in order of their number.
std::vector<SerialPortEntry> listSerialPorts();

#ifndef _WIN32
// listSerialPorts() on the file tree under `root` ("" for the real one). The names and
// details are the paths as seen from inside that tree, so the listing reads the same.
std::vector<SerialPortEntry> listSerialPortsUnder(const std::string& root);
#endif

// Whether the port a name stands for (as --port or the settings give it) is one the kernel
// writes its console to, named directly or through links; never on Windows.
bool isSystemConsole(const std::string& portName);

#ifndef _WIN32
// isSystemConsole() on the file tree under `root`.
bool isSystemConsoleUnder(const std::string& root, const std::string& portName);
#endif

// The line `vantorel-cli ports` prints for one port (see the top of this file).
inline std::string portListLine(const SerialPortEntry& port)
{
    return port.detail.empty() ? port.name : port.name + "  " + port.detail;
}

} // namespace serial
