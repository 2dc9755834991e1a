// The Linux port listing on a made-up file tree: its by-id links, its devices and the UART
// types /sys reports for its ttyS slots.
#include "link/SerialIo.h"
#include "link/SerialPortList.h"

#include "DoctestSkip.h"
#include "doctest.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A fresh folder under the temporary one, removed with everything in it at the end.
class FakeRoot {
public:
    FakeRoot()
    {
        std::string pattern = (fs::temp_directory_path() / "vantorel-portlist-XXXXXX").string();
        REQUIRE(mkdtemp(pattern.data()) != nullptr);
        m_path = pattern;
    }
    ~FakeRoot()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }

    std::string path() const { return m_path.string(); }

    void addFile(const std::string& relative, const std::string& text = {})
    {
        fs::create_directories((m_path / relative).parent_path());
        std::ofstream(m_path / relative) << text;
    }

    // A character device node; empty, or why it cannot be made (not root).
    std::string addDevice(const std::string& relative, unsigned major, unsigned minor)
    {
        if (mknod((m_path / relative).c_str(), S_IFCHR | 0600, makedev(major, minor)) == 0)
            return {};
        return "no device node " + relative + ": " + std::strerror(errno);
    }

    // Empty, or why the node at `relative` does not open (a file system mounted nodev).
    std::string opens(const std::string& relative) const
    {
        const int descriptor = open((m_path / relative).c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        if (descriptor < 0)
            return relative + " does not open: " + std::strerror(errno);
        close(descriptor);
        return {};
    }

    void addLink(const std::string& relative, const std::string& target)
    {
        fs::create_directories((m_path / relative).parent_path());
        fs::create_symlink(target, m_path / relative);
    }

private:
    fs::path m_path;
};

std::string listing(const std::string& root)
{
    std::string lines;
    for (const serial::SerialPortEntry& port : serial::listSerialPortsUnder(root))
        lines += serial::portListLine(port) + '\n';
    return lines;
}

} // namespace

TEST_CASE("by-id links come first, then ttyUSB, ttyACM and the ttyS slots with a UART")
{
    FakeRoot root;
    root.addLink("dev/serial/by-id/usb-Box_1234-if00-port0", "../../ttyUSB0");
    root.addLink("dev/serial/by-id/usb-Adapter_77-if00-port0", "../../ttyACM1");
    root.addLink("dev/serial/by-id/usb-Zeta_5-if00-port0", "../../ttyS2");
    root.addLink("dev/serial/by-id/usb-Mid_3-if00-port0", "../../ttyS0");
    root.addLink("dev/serial/by-id/usb-Unplugged-if00-port0", "../../ttyUSB7");
    for (const char* device : {"ttyS12", "ttyACM1", "ttyS0", "ttyS10", "ttyUSB0", "ttyS2", "tty1"})
        root.addFile(std::string("dev/") + device);
    root.addFile("sys/class/tty/ttyS0/type", "4\n");
    root.addFile("sys/class/tty/ttyS2/type", "4\n");
    root.addFile("sys/class/tty/ttyS10/type", "0\n");
    // ttyS12 has no type file and no driver to ask: kept.

    CHECK(listing(root.path()) == "/dev/serial/by-id/usb-Adapter_77-if00-port0  /dev/ttyACM1\n"
                                  "/dev/serial/by-id/usb-Box_1234-if00-port0  /dev/ttyUSB0\n"
                                  "/dev/serial/by-id/usb-Mid_3-if00-port0  /dev/ttyS0\n"
                                  "/dev/serial/by-id/usb-Zeta_5-if00-port0  /dev/ttyS2\n"
                                  "/dev/ttyUSB0\n/dev/ttyACM1\n/dev/ttyS0\n/dev/ttyS2\n/dev/ttyS12\n");
}

TEST_CASE("a tree without /dev lists no port")
{
    FakeRoot root;
    CHECK(listing(root.path()).empty());
}

TEST_CASE("a ttyS without a type in /sys is asked of its driver: a slot it has no device for is left out")
{
    FakeRoot root;
    fs::create_directory(fs::path(root.path()) / "dev");
    // Major 60 is kept for local use, so no driver answers it: opening gives ENXIO. The null
    // device's driver opens but cannot tell: kept.
    std::string cannot = root.addDevice("dev/ttyS7", 60, 0);
    if (cannot.empty())
        cannot = root.addDevice("dev/ttyS3", 1, 3);
    if (cannot.empty())
        cannot = root.opens("dev/ttyS3");
    if (!cannot.empty()) {
        skipCase(cannot);
        return;
    }
    CHECK(listing(root.path()) == "/dev/ttyS3\n");
}

TEST_CASE("the devices the kernel's console goes to are marked, behind a by-id link too")
{
    FakeRoot root;
    root.addLink("dev/serial/by-id/usb-Console_1-if00-port0", "../../ttyUSB1");
    for (const char* device : {"ttyUSB0", "ttyUSB1", "ttyS0", "ttyS1"})
        root.addFile(std::string("dev/") + device);
    root.addFile("sys/class/tty/console/active", "tty0 ttyS1 ttyUSB1\n");

    std::string consoles;
    for (const serial::SerialPortEntry& port : serial::listSerialPortsUnder(root.path()))
        consoles += port.console ? port.name + '\n' : std::string();
    CHECK(consoles == "/dev/serial/by-id/usb-Console_1-if00-port0\n/dev/ttyUSB1\n/dev/ttyS1\n");
}

TEST_CASE("a port is the console when a name on its way to the device is the console's")
{
    FakeRoot root;
    root.addLink("dev/serial/by-id/usb-Console_1-if00-port0", "../../ttyUSB1");
    root.addLink("dev/box", "/dev/ttyS0");
    for (const char* device : {"ttyUSB0", "ttyUSB1", "ttyS0", "ttyS1"})
        root.addFile(std::string("dev/") + device);
    root.addFile("sys/class/tty/console/active", "tty0 ttyS0 ttyUSB1\n");

    const struct {
        const char* port;
        bool console;
    } rows[] = {
        {"COM1", true}, // /dev/ttyS0
        {"com2", false},
        {"/dev/serial/by-id/usb-Console_1-if00-port0", true},
        {"ttyUSB0", false},
        {"box", true}, // a link of the user's own
    };
    for (const auto& row : rows) {
        CAPTURE(row.port);
        CHECK(serial::isSystemConsoleUnder(root.path(), serial::portNameFromSettings(row.port)) == row.console);
    }
}
