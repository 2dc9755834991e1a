#include "Harnesses.h"

const std::vector<Harness>& allHarnesses()
{
    static const std::vector<Harness> harnesses{
        {"settings_file", fuzzSettingsFile},
        {"integer_rule", fuzzIntegerRule},
        {"table_file", fuzzTableFile},
        {"received_chunk", fuzzReceivedChunk},
        {"box_packets", fuzzBoxPackets},
        {"site_and_tuning_input", fuzzSiteAndTuningInput},
    };
    return harnesses;
}
