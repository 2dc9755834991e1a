// The words of the simulated box's control channel: a line protocol on a terminal of its
// own, through which a test that runs the box as a separate process reaches what a test
// with the box in its own process calls directly. The box that serves the channel and the
// tests' client that speaks it (under Wine too) both take their words from here.
//
// One request line, one reply line, each ended by LF. A request is a command word and its
// values, separated by single blanks; the reply is "ok" and the values asked for, or
// "error" and the reason. Bytes travel as pairs of hexadecimal digits, numbers in decimal.
#pragma once

#include "ReplyShaping.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace boxcontrol {

namespace command {
constexpr std::string_view Reset = "reset";                     // back to the box as started
constexpr std::string_view Requests = "requests";               // -> each packet received, oldest first
constexpr std::string_view ClearRequests = "clear-requests";
constexpr std::string_view ArrivalGaps = "arrival-gaps";        // -> MS from each request to the next
constexpr std::string_view PendingBytes = "pending-bytes";      // -> bytes short of a packet
constexpr std::string_view Positions = "positions";             // -> the position table
constexpr std::string_view SetPositions = "set-positions";      // TABLE
constexpr std::string_view Remote = "remote";                   // -> the remote-control table
constexpr std::string_view SetRemote = "set-remote";            // TABLE
constexpr std::string_view Fault = "fault";                     // a name of faultName()
constexpr std::string_view LateDelay = "late-delay";            // MS
constexpr std::string_view SplitPause = "split-pause";          // MS
constexpr std::string_view AnalyseStream = "analyse-stream";    // 1 or 0
constexpr std::string_view AnalyseInterval = "analyse-interval"; // MS
constexpr std::string_view ForceLength = "force-length";        // OPCODE LENGTH: the next reply only
constexpr std::string_view Send = "send";                       // BYTES, unasked, to the program
constexpr std::string_view Unplug = "unplug";                   // the terminal and its link go
constexpr std::string_view PlugIn = "plug-in";                  // a new terminal behind the link
} // namespace command

constexpr std::string_view Ok = "ok";
constexpr std::string_view Refused = "error";

// The words of a line, split at single blanks.
std::vector<std::string_view> wordsOf(std::string_view line);

// "0A01FF": two upper-case digits a byte, no separator.
std::string hexOf(const std::uint8_t* bytes, std::size_t size);

// Of a table, a packet or a string of bytes.
template <typename Bytes>
std::string hexOf(const Bytes& bytes)
{
    return hexOf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// False for an odd number of digits or a character that is not a hexadecimal digit.
bool bytesOfHex(std::string_view text, std::vector<std::uint8_t>& bytes);

// A decimal number that fits in `value`'s type; false for anything else.
bool parseNumber(std::string_view text, std::size_t& value);

std::string_view faultName(boxsim::Fault fault);
bool faultNamed(std::string_view name, boxsim::Fault& fault);

} // namespace boxcontrol
