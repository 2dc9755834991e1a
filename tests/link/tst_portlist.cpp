// The Linux port listing on a made-up file tree: its by-id links, its devices and the UART
// types /sys reports for its ttyS slots.
#include "link/SerialPortList.h"

#include "doctest.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <sys/sysmacros.h>

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

    // A character device node; false where nodes cannot be made (not root, a nodev mount).
    bool addDevice(const std::string& relative, unsigned major, unsigned minor)
    {
        const bool made = mknod((m_path / relative).c_str(), S_IFCHR | 0600, makedev(major, minor)) == 0;
        if (!made)
            MESSAGE("no device node ", relative, ": ", std::strerror(errno));
        return made;
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
    if (!root.addDevice("dev/ttyS7", 60, 0) || !root.addDevice("dev/ttyS3", 1, 3))
        return;
    CHECK(listing(root.path()) == "/dev/ttyS3\n");
}
