// The serial ports of a Linux machine, read from /dev and /sys.
#include "link/SerialPortList.h"

#include "link/SerialIo.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>
#include <tuple>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace serial {
namespace {

namespace fs = std::filesystem;

const fs::path DeviceFolder = "/dev";
const fs::path ByIdFolder = "/dev/serial/by-id";
const fs::path ConsoleList = "/sys/class/tty/console/active";

// The device kinds listed, in the order listed: USB adapters first, as the box is most
// likely behind one; ttyS last, as most of those are slots with no UART.
constexpr std::string_view DevicePrefixes[] = {"ttyUSB", "ttyACM", "ttyS"};
constexpr std::size_t UartPrefix = 2;

struct Device {
    std::size_t kind = 0; // index into DevicePrefixes
    unsigned number = 0;
    std::string name;
};

fs::path under(const fs::path& root, const fs::path& absolute)
{
    return root / absolute.relative_path();
}

std::vector<std::string> fileNamesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
         it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}

// The kind and number of a name such as ttyUSB3; false for any other name.
bool parseDeviceName(const std::string& name, Device& device)
{
    for (std::size_t kind = 0; kind < std::size(DevicePrefixes); ++kind) {
        const std::string_view prefix = DevicePrefixes[kind];
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const char* const last = name.data() + name.size();
        const auto [end, error] = std::from_chars(name.data() + prefix.size(), last, device.number);
        if (error != std::errc() || end != last)
            return false;
        device.kind = kind;
        device.name = name;
        return true;
    }
    return false;
}

// Only for a ttyS whose /sys entry is missing: opening a port sets its control lines. A slot
// the driver has no UART for may refuse the open itself ("No such device or address").
bool driverReportsNoUart(const fs::path& device)
{
    const int descriptor = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENXIO;
    serial_struct info{};
    const bool noUart = ioctl(descriptor, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
    ::close(descriptor);
    return noUart;
}

// The kernel makes a ttyS node for every UART slot it reserves; an empty slot has the type
// PORT_UNKNOWN. When neither /sys nor the driver can tell, the port is kept: better listed
// and failing to open than hidden.
bool hasUart(const fs::path& root, const std::string& name)
{
    std::ifstream typeFile(under(root, "/sys/class/tty") / name / "type");
    int type = 0;
    if (typeFile >> type)
        return type != PORT_UNKNOWN;
    return !driverReportsNoUart(under(root, DeviceFolder) / name);
}

// The stable names udev gives USB adapters, each with the device it stands for now.
std::vector<SerialPortEntry> byIdLinks(const fs::path& root)
{
    std::vector<SerialPortEntry> links;
    for (const std::string& name : fileNamesIn(under(root, ByIdFolder))) {
        std::error_code error;
        const fs::path target = fs::read_symlink(under(root, ByIdFolder) / name, error);
        if (error)
            continue;
        const fs::path device = (ByIdFolder / target).lexically_normal();
        if (fs::exists(under(root, device), error))
            links.push_back({(ByIdFolder / name).string(), device.string()});
    }
    std::sort(links.begin(), links.end(),
              [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.name < b.name; });
    return links;
}

std::vector<Device> devices(const fs::path& root)
{
    std::vector<Device> found;
    for (const std::string& name : fileNamesIn(under(root, DeviceFolder))) {
        Device device;
        if (parseDeviceName(name, device) && (device.kind != UartPrefix || hasUart(root, name)))
            found.push_back(device);
    }
    std::sort(found.begin(), found.end(), [](const Device& a, const Device& b) {
        return std::tie(a.kind, a.number) < std::tie(b.kind, b.number);
    });
    return found;
}

// The devices the kernel writes its console to ("tty0 ttyS0"), by name.
std::set<std::string> consoleDevices(const fs::path& root)
{
    std::ifstream list(under(root, ConsoleList));
    std::set<std::string> names;
    for (std::string name; list >> name;)
        names.insert(name);
    return names;
}

} // namespace

std::vector<SerialPortEntry> listSerialPortsUnder(const std::string& root)
{
    const fs::path rootFolder = root.empty() ? "/" : root;
    std::vector<SerialPortEntry> ports = byIdLinks(rootFolder);
    for (const Device& device : devices(rootFolder))
        ports.push_back({(DeviceFolder / device.name).string(), {}});
    const std::set<std::string> consoles = consoleDevices(rootFolder);
    for (SerialPortEntry& port : ports)
        port.console = consoles.count(fs::path(port.detail.empty() ? port.name : port.detail).filename().string()) > 0;
    return ports;
}

std::vector<SerialPortEntry> listSerialPorts()
{
    return listSerialPortsUnder("");
}

bool isSystemConsoleUnder(const std::string& root, const std::string& portName)
{
    const fs::path rootFolder = root.empty() ? "/" : root;
    const std::set<std::string> consoles = consoleDevices(rootFolder);
    // Each name on the way to the device counts: a by-id link, or a name the user gave a port.
    fs::path device = devicePath(portName);
    for (int link = 0; link < 16; ++link) {
        if (consoles.count(device.filename().string()))
            return true;
        std::error_code error;
        const fs::path target = fs::read_symlink(under(rootFolder, device), error);
        if (error)
            return false;
        device = (target.is_absolute() ? target : device.parent_path() / target).lexically_normal();
    }
    return false;
}

bool isSystemConsole(const std::string& portName)
{
    return isSystemConsoleUnder("", portName);
}

} // namespace serial
