// What the installer's tools keep beside the settings file: the site last typed, kept once
// and replaced by the next, and said when it cannot be written.
#include "app/SiteFiles.h"

#include "doctest.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// A fresh folder under the temporary one holding the settings file's place, removed at the end.
class SettingsFolder {
public:
    SettingsFolder()
        : m_path(fs::temp_directory_path() / ("vantorel-installerfiles-" + std::to_string(std::random_device{}())))
    {
        fs::create_directories(m_path);
    }
    ~SettingsFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    fs::path path() const { return m_path; }
    std::string settingsFile() const { return (m_path / "vantorel.ini").u8string(); }

private:
    fs::path m_path;
};

std::string textOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST_CASE("the site typed last replaces the one kept before")
{
    SettingsFolder folder;
    REQUIRE_FALSE(rememberSite(folder.settingsFile(), {52.52, 13.40}));
    REQUIRE_FALSE(rememberSite(folder.settingsFile(), {-33.87, 151.21}));
    const std::optional<StoredSite> stored = storedSite(folder.settingsFile());
    REQUIRE(stored);
    CHECK(stored->text() == "33.87S,151.21E");
    const std::string text = textOf(folder.path() / "last-site.ini");
    CHECK(text.find("\n[site]") == text.rfind("\n[site]")); // one section, not one per site typed
}

TEST_CASE("a site that cannot be written says which file and why")
{
    // A folder in the file's place refuses the write, for root too, as a read-only folder does.
    SettingsFolder folder;
    fs::create_directory(folder.path() / "last-site.ini");
    const std::optional<std::string> failure = rememberSite(folder.settingsFile(), {52.52, 13.40});
    REQUIRE(failure);
    CHECK(failure->rfind("cannot write " + (folder.path() / "last-site.ini").u8string(), 0) == 0);
}
