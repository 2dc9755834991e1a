// The serial ports of a Windows machine: every serial driver enters its ports under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, the COM name as a value's data and the driver's own
// device as the value's name.
#include "link/SerialIo.h"
#include "link/SerialPortList.h"

#include <windows.h>

#include <algorithm>
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

std::vector<SerialPortEntry> serialCommValues(HKEY key)
{
    DWORD valueCount = 0;
    DWORD longestName = 0;
    DWORD largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                         &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<wchar_t> name(longestName + 1);
    std::vector<wchar_t> data(largestData / sizeof(wchar_t) + 1);
    std::vector<SerialPortEntry> ports;
    for (DWORD index = 0; index < valueCount; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data.data()), &dataBytes) != ERROR_SUCCESS
            || type != REG_SZ)
            continue;
        ports.push_back({stringData(data, dataBytes), toUtf8(name.data(), nameLength)});
    }
    return ports;
}

} // namespace

std::vector<SerialPortEntry> listSerialPorts()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return {}; // the key exists only while some serial port does
    std::vector<SerialPortEntry> ports = serialCommValues(key);
    RegCloseKey(key);
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

} // namespace serial
