// Feeds every file of the fuzz corpus to its harness's entry function, without libFuzzer, so
// an input that once crashed or hung fails the ordinary test run if the fault comes back.
// Usage: fuzz_replay <corpus folder>, which holds one folder per harness.
#include "Harnesses.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Sorted, so a failing run names the same file first every time.
std::vector<fs::path> corpusFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    for (const Harness& harness : allHarnesses()) {
        const fs::path folder = fs::path(argv[1]) / harness.name;
        const std::vector<fs::path> files = fs::is_directory(folder) ? corpusFiles(folder) : std::vector<fs::path>{};
        if (files.empty()) {
            std::fprintf(stderr, "%s: no corpus in %s\n", harness.name, folder.c_str());
            return 1;
        }
        for (const fs::path& file : files) {
            // Named before the call: if the harness crashes, the last line names the input.
            std::fprintf(stderr, "%s: %s\n", harness.name, file.filename().c_str());
            const std::vector<std::uint8_t> bytes = readFile(file);
            harness.entry(bytes.data(), bytes.size());
        }
        std::printf("%s: %zu inputs replayed\n", harness.name, files.size());
    }
    return 0;
}
