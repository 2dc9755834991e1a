// The program's settings reader against the system's own profile functions: every file of a
// corpus of awkward settings files must give the same "port", "baud" and "loglines" through
// IniProfile as through GetPrivateProfileStringA / GetPrivateProfileIntA.
#include "app/IniProfile.h"
#include "protocol/IntegerInput.h"

#include "doctest.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

namespace {

struct Sample {
    const char* name;
    std::string bytes;
};

// Text as UTF-16 with its byte-order mark; the corpus is ASCII, so each unit is one byte and 0.
std::string utf16(const std::string& text, bool littleEndian)
{
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : text) {
        bytes += littleEndian ? c : '\0';
        bytes += littleEndian ? '\0' : c;
    }
    return bytes;
}

const std::string Plain = "[init]\r\nport=COM3\r\nbaud=9600\r\nloglines=50\r\n";

const std::vector<Sample> Corpus = {
    {"LF lines", "[init]\nport=COM3\nbaud=9600\nloglines=50\n"},
    {"CR LF lines", Plain},
    {"CR-only lines", "[init]\rport=COM3\rbaud=9600\rloglines=50\r"},
    {"mixed line ends, none at the end", "[init]\r\nport=COM3\rbaud=9600\nloglines=50"},
    {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + Plain},
    {"UTF-16 little-endian", utf16(Plain, true)},
    {"UTF-16 big-endian", utf16(Plain, false)},
    {"UTF-16 with CR-only lines", utf16("[init]\rport=COM4\rbaud=4800\r", true)},
    {"double quotes", "[init]\nport=\"COM4\"\nbaud=\"19200\"\nloglines=\" 7 \"\n"},
    {"single quotes", "[init]\nport='COM4'\nbaud='1200'\n"},
    {"unmatched quotes", "[init]\nport=\"COM4\nbaud=1200'\nloglines='5\"\n"},
    {"quotes inside", "[init]\nport=CO\"M\"4\nloglines=\"\"\n"},
    {"comments", "; settings\n[init]\n;port=COM9\nport=COM5\n  ; baud=300\nbaud=2400\n"},
    {"hash is no comment", "[init]\n#port=COM9\nport=COM5\n"},
    {"inline semicolon stays", "[init]\nport=COM5 ; the box\nbaud=2400;fast\n"},
    {"blanks and tabs around names and values", "  [ init ]  \n \t port \t = \t COM6 \t \nbaud =  38400\t\n"},
    {"blank lines", "\n\n[init]\n\n   \nport=COM6\n\t\nbaud=57600\n\n"},
    {"case of section and keys", "[INIT]\nPORT=com7\nBaud=0x4B00\nLogLines=$10\n"},
    {"empty values", "[init]\nport=\nbaud=\nloglines=\n"},
    {"keys without a value", "[init]\nport\nbaud\nloglines=3\n"},
    {"empty key", "[init]\n=COM2\nport=COM8\n"},
    {"duplicate keys: the first wins", "[init]\nport=COM1\nport=COM2\nbaud=300\nbaud=600\n"},
    {"duplicate sections: the first counts", "[init]\nport=COM1\n[other]\nport=COM9\n[init]\nport=COM2\nbaud=300\n"},
    {"duplicate sections in another case", "[Init]\nbaud=110\n[INIT]\nbaud=220\nport=COM2\n"},
    {"keys before any section", "port=COM7\nbaud=1200\n[init]\nloglines=9\n"},
    {"no init section", "[general]\nport=COM7\nbaud=1200\n"},
    {"other sections around", "[a]\nport=COM1\n[init]\nport=COM2\n[b]\nport=COM3\n"},
    {"text after the section's bracket", "[init] ; settings\nport=COM2\n"},
    {"section without closing bracket", "[init\nport=COM2\n[init]\nbaud=1200\n"},
    {"equals signs in the value", "[init]\nport=COM2=COM3\nbaud==9600\n"},
    {"odd numbers", "[init]\nbaud=+19200\nloglines=-0\n"},
    {"numbers with junk", "[init]\nbaud=19200abc\nloglines= 12 34\n"},
    {"huge numbers", "[init]\nbaud=99999999999\nloglines=-2147483649\n"},
    {"hex numbers", "[init]\nbaud=$4B00\nloglines=0XFFFFFFFF\n"},
    {"empty file", ""},
    {"only a byte-order mark", "\xEF\xBB\xBF"},
};

const char* const Keys[] = {"port", "baud", "loglines"};
const char* const Missing = "<missing>";
constexpr std::int32_t IntegerDefault = -12345;

std::string systemString(const std::string& path, const char* key)
{
    char value[256] = {};
    GetPrivateProfileStringA("init", key, Missing, value, sizeof value, path.c_str());
    return value;
}

// A plain decimal number: the one form the system's integer reading and the program's
// integer rule are meant to read alike.
bool isPlainDecimal(const std::string& text)
{
    const std::size_t digits = text.find_first_not_of('-') == 1 ? 1 : 0;
    return text.size() > digits && text.size() <= 9 + digits
        && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

} // namespace

TEST_CASE("the settings reader reads every corpus file as the system's profile functions do")
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path()
        / ("vantorel-profiles-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder);

    int fileNumber = 0;
    for (const Sample& sample : Corpus) {
        // A name of its own per file: the system may keep a profile it has read cached.
        const std::string path = (folder / ("sample" + std::to_string(++fileNumber) + ".ini")).string();
        std::ofstream(path, std::ios::binary) << sample.bytes;
        const IniProfile profile = IniProfile::load(path);
        for (const char* key : Keys) {
            CAPTURE(sample.name);
            CAPTURE(key);
            const std::string expected = systemString(path, key);
            CHECK(profile.readString("init", key, Missing) == expected);
            const bool absent = expected == Missing;
            CHECK(profile.readInteger("init", key, IntegerDefault)
                  == parseIntegerOr(absent ? std::string() : expected, IntegerDefault));
            if (absent || isPlainDecimal(expected)) {
                const UINT system = GetPrivateProfileIntA("init", key, IntegerDefault, path.c_str());
                CHECK(profile.readInteger("init", key, IntegerDefault) == static_cast<std::int32_t>(system));
            }
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
