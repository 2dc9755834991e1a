// The serial ports of a Windows machine: every serial driver enters its ports under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, the COM name as a value's data. Beside each goes the
// name Device Manager shows for it ("USB Serial Port (COM3)"), from the Ports class of the
// devices Windows has set up, where it has one; the driver's own device name (the value's
// name, "\Device\Serial0") means nothing to a user and is left out.
#include "link/SerialIo.h"
#include "link/SerialPortList.h"

#include <windows.h>
// <initguid.h> first: the Ports class's GUID is then defined here rather than only declared.
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <map>
#include <tuple>

namespace serial {
namespace {

std::string toUtf8(const wchar_t* text, std::size_t length)
{
    if (length == 0)
        return {};
    const int wideLength = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, wideLength, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

// A REG_SZ value's data need not end in a null character, and may hold one before its end.
std::string stringData(const std::vector<wchar_t>& data, DWORD bytes)
{
    const std::size_t length = bytes / sizeof(wchar_t);
    return toUtf8(data.data(), std::find(data.data(), data.data() + length, L'\0') - data.data());
}

// The COM names SERIALCOMM holds.
std::vector<std::string> serialCommValues(HKEY key)
{
    DWORD valueCount = 0;
    DWORD longestName = 0;
    DWORD largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                         &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<wchar_t> name(longestName + 1);
    std::vector<wchar_t> data(largestData / sizeof(wchar_t) + 1);
    std::vector<std::string> ports;
    for (DWORD index = 0; index < valueCount; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &dataBytes) != ERROR_SUCCESS
            || type != REG_SZ)
            continue;
        ports.push_back(stringData(data, dataBytes));
    }
    return ports;
}

// A device's "PortName", the COM name its driver took; empty for a port without one (LPT1
// has one too, and is simply never asked for).
std::string portNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device)
{
    const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    std::vector<wchar_t> data(64);
    DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    DWORD type = 0;
    const LONG status = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? stringData(data, bytes) : std::string();
}

std::string friendlyNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device)
{
    DWORD bytes = 0;
    SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr, nullptr, 0, &bytes);
    if (bytes == 0)
        return {};
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1);
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, &type,
                                           reinterpret_cast<BYTE*>(data.data()), bytes, &bytes)
        || type != REG_SZ)
        return {};
    return stringData(data, bytes);
}

// Device Manager's name of each port it lists under "Ports (COM & LPT)", by COM name.
std::map<std::string, std::string> friendlyNamesByPort()
{
    std::map<std::string, std::string> names;
    const HDEVINFO devices = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return names;
    SP_DEVINFO_DATA device {};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const std::string port = portNameOf(devices, device);
        if (!port.empty())
            names[port] = friendlyNameOf(devices, device);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return names;
}

} // namespace

std::vector<SerialPortEntry> listSerialPorts()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return {}; // the key exists only while some serial port does
    const std::vector<std::string> names = serialCommValues(key);
    RegCloseKey(key);
    const std::map<std::string, std::string> friendlyNames = friendlyNamesByPort();
    std::vector<SerialPortEntry> ports;
    for (const std::string& name : names) {
        const auto friendly = friendlyNames.find(name);
        ports.push_back({name, friendly == friendlyNames.end() ? std::string() : friendly->second});
    }
    // COM2 before COM10; a name of another form (some virtual drivers) after every COMn.
    const auto order = [](const SerialPortEntry& port) {
        const unsigned number = comPortNumber(port.name);
        return std::make_tuple(number == 0, number, port.name);
    };
    std::sort(ports.begin(), ports.end(), [&order](const SerialPortEntry& a, const SerialPortEntry& b) {
        return order(a) < order(b);
    });
    return ports;
}

// Windows writes no console to a COM port.
bool isSystemConsole(const std::string&)
{
    return false;
}

} // namespace serial
