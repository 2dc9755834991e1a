// The fuzz harnesses' entry functions, each with the libFuzzer signature, and the list of
// them by the name of their corpus folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using HarnessEntry = int (*)(const std::uint8_t* data, std::size_t size);

int fuzzSettingsFile(const std::uint8_t* data, std::size_t size);
int fuzzIntegerRule(const std::uint8_t* data, std::size_t size);
int fuzzTableFile(const std::uint8_t* data, std::size_t size);
int fuzzReceivedChunk(const std::uint8_t* data, std::size_t size);
int fuzzBoxPackets(const std::uint8_t* data, std::size_t size);
int fuzzSiteAndTuningInput(const std::uint8_t* data, std::size_t size);

struct Harness {
    const char* name; // also the folder of its corpus under fuzz/corpus/
    HarnessEntry entry;
};

const std::vector<Harness>& allHarnesses();
