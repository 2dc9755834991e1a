// Table files at the system's level, on every platform: a record written and read back, and
// the file layer's error for each way a load fails. On Windows also a file that another
// program holds open.
#include "ui/tables/TableFileIo.h"

#include "doctest.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// A fresh folder of its own, removed at the end.
class Folder {
public:
    Folder()
        : m_path(std::filesystem::temp_directory_path()
                 / ("vantorel-tablefiles-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string file(const char* name) const { return (m_path / name).string(); }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_path), {}));
    }

private:
    std::filesystem::path m_path;
};

} // namespace

TEST_CASE("a saved record replaces the file and reads back")
{
    const Folder folder;
    const std::string path = folder.file("table.pos");
    std::ofstream(path, std::ios::binary) << std::string(100, 'x'); // a longer file goes
    std::array<std::uint8_t, 33> saved{};
    for (std::size_t i = 0; i < saved.size(); ++i)
        saved[i] = static_cast<std::uint8_t>(i * 7);
    CHECK_FALSE(saveTableRecord(path, saved.data(), saved.size()));
    CHECK(std::filesystem::file_size(path) == saved.size());
    std::ofstream(path, std::ios::binary) << std::string(100, 'x'); // the command line's get too
    CHECK_FALSE(writeTableFile(path, saved.data(), saved.size()));
    CHECK(std::filesystem::file_size(path) == saved.size());

    std::array<std::uint8_t, 33> loaded{};
    CHECK_FALSE(loadTableRecord(path, loaded.data(), loaded.size()));
    CHECK(loaded == saved);
}

TEST_CASE("a failed load names the file layer's error and leaves the data alone")
{
    const Folder folder;
    std::ofstream(folder.file("short.rem"), std::ios::binary) << std::string(96, 'y');
    struct Case {
        std::string path;
        FileError error;
    };
    const Case cases[] = {
        {folder.file("missing.rem"), FileError::FileNotFound},
        {folder.file("no-folder") + "/table.rem", FileError::InvalidFilename},
        {folder.file("short.rem"), FileError::ReadBeyondEnd},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        std::array<std::uint8_t, 97> data{};
        data.fill(0x5A);
        const std::optional<FileFailure> failure = loadTableRecord(c.path, data.data(), data.size());
        REQUIRE(failure);
        CHECK(failure->error == c.error);
        CHECK(data[0] == 0x5A);
    }
}

#ifdef _WIN32
namespace {

// Another program's handle on an existing file, open for writing, sharing it as asked.
class HeldOpen {
public:
    HeldOpen(const std::string& path, DWORD sharing)
        : m_handle(CreateFileA(path.c_str(), GENERIC_WRITE, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        REQUIRE(m_handle != INVALID_HANDLE_VALUE);
    }
    ~HeldOpen() { CloseHandle(m_handle); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

private:
    HANDLE m_handle;
};

constexpr DWORD ShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

} // namespace

TEST_CASE("a file that another program writes, sharing it, loads")
{
    const Folder folder;
    const std::string path = folder.file("table.pos");
    std::ofstream(path, std::ios::binary) << std::string(33, 'p');
    const HeldOpen writer(path, ShareReadWrite);
    std::array<std::uint8_t, 33> loaded{};
    CHECK_FALSE(loadTableRecord(path, loaded.data(), loaded.size()));
    CHECK(loaded[32] == 'p');
}

TEST_CASE("a save over a file that another program holds open writes it in place, leaving no temporary file")
{
    const Folder folder;
    const std::string path = folder.file("table.pos");
    std::ofstream(path, std::ios::binary) << std::string(100, 'x');
    const HeldOpen writer(path, ShareReadWrite);
    const std::array<std::uint8_t, 33> saved{1, 2, 3};
    CHECK_FALSE(saveTableRecord(path, saved.data(), saved.size()));
    CHECK(std::filesystem::file_size(path) == saved.size());
    CHECK(folder.entries() == 1);

    std::ifstream file(path, std::ios::binary);
    const std::string contents{std::istreambuf_iterator<char>(file), {}};
    CHECK(contents == std::string(saved.begin(), saved.end()));
}

TEST_CASE("a system error without a text of its own is an I/O error with its code")
{
    const Folder folder;
    const std::string path = folder.file("table.pos");
    std::ofstream(path, std::ios::binary) << std::string(33, 'p');
    const HeldOpen exclusive(path, 0);
    std::array<std::uint8_t, 33> loaded{};
    const std::optional<FileFailure> failure = loadTableRecord(path, loaded.data(), loaded.size());
    REQUIRE(failure);
    CHECK(failure->error == FileError::Other);
    CHECK(failure->code == ERROR_SHARING_VIOLATION);
}
#endif
