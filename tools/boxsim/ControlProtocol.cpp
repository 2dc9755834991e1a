#include "ControlProtocol.h"

#include "ControlWire.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

using namespace boxcontrol;
using Words = std::vector<std::string_view>;

std::string ok(const std::string& value = {})
{
    return value.empty() ? std::string(Ok) : std::string(Ok) + ' ' + value;
}

std::string refused(const std::string& reason)
{
    return std::string(Refused) + ' ' + reason;
}

std::string notA(const char* what, std::string_view text)
{
    return refused(std::string("not ") + what + ": " + std::string(text));
}

bool parseMilliseconds(std::string_view text, int& ms)
{
    std::size_t value = 0;
    if (!parseNumber(text, value) || value > INT_MAX)
        return false;
    ms = static_cast<int>(value);
    return true;
}

template <typename Table>
bool parseTable(std::string_view text, Table& table)
{
    std::vector<std::uint8_t> bytes;
    if (!bytesOfHex(text, bytes) || bytes.size() != table.size())
        return false;
    std::copy(bytes.begin(), bytes.end(), table.begin());
    return true;
}

// A setter that takes milliseconds.
template <void (BoxSimulator::*Set)(int)>
std::string setMilliseconds(BoxSimulator& box, const Words& words)
{
    int ms = 0;
    if (!parseMilliseconds(words[1], ms))
        return notA("a number of milliseconds", words[1]);
    (box.*Set)(ms);
    return ok();
}

std::string reset(BoxSimulator& box, const Words&)
{
    std::string error;
    return box.reset(&error) ? ok() : refused(error);
}

std::string requests(BoxSimulator& box, const Words&)
{
    std::string list;
    for (const BoxSimulator::Packet& packet : box.requests())
        list += (list.empty() ? "" : " ") + hexOf(packet);
    return ok(list);
}

std::string arrivalGaps(BoxSimulator& box, const Words&)
{
    std::string list;
    for (const long long gap : box.arrivalGapsMs())
        list += (list.empty() ? "" : " ") + std::to_string(gap);
    return ok(list);
}

std::string clearRequests(BoxSimulator& box, const Words&)
{
    box.clearRequests();
    return ok();
}

std::string pendingBytes(BoxSimulator& box, const Words&)
{
    return ok(std::to_string(box.pendingRequestBytes()));
}

std::string positions(BoxSimulator& box, const Words&)
{
    return ok(hexOf(box.positionTable()));
}

std::string setPositions(BoxSimulator& box, const Words& words)
{
    BoxSimulator::PositionTable table{};
    if (!parseTable(words[1], table))
        return notA("a position table", words[1]);
    box.setPositionTable(table);
    return ok();
}

std::string remote(BoxSimulator& box, const Words&)
{
    return ok(hexOf(box.remoteTable()));
}

std::string setRemote(BoxSimulator& box, const Words& words)
{
    BoxSimulator::RemoteTable table{};
    if (!parseTable(words[1], table))
        return notA("a remote-control table", words[1]);
    box.setRemoteTable(table);
    return ok();
}

std::string fault(BoxSimulator& box, const Words& words)
{
    boxsim::Fault fault;
    if (!faultNamed(words[1], fault))
        return notA("a fault", words[1]);
    box.setFault(fault);
    return ok();
}

std::string analyseStream(BoxSimulator& box, const Words& words)
{
    if (words[1] != "0" && words[1] != "1")
        return notA("1 or 0", words[1]);
    box.setAnalyseStream(words[1] == "1");
    return ok();
}

std::string forceLength(BoxSimulator& box, const Words& words)
{
    std::vector<std::uint8_t> opcode;
    if (!bytesOfHex(words[1], opcode) || opcode.size() != 1)
        return notA("an opcode", words[1]);
    std::size_t length = 0;
    if (!parseNumber(words[2], length))
        return notA("a length", words[2]);
    box.forceNextReplyLength(opcode.front(), length);
    return ok();
}

std::string send(BoxSimulator& box, const Words& words)
{
    std::vector<std::uint8_t> bytes;
    if (!bytesOfHex(words[1], bytes))
        return notA("bytes", words[1]);
    return box.send(bytes) ? ok() : refused("the box is unplugged or its terminal failed");
}

std::string unplug(BoxSimulator& box, const Words&)
{
    box.stop();
    return ok();
}

std::string plugIn(BoxSimulator& box, const Words&)
{
    std::string error;
    return box.start(&error) ? ok() : refused(error);
}

struct Command {
    std::string_view word;
    std::size_t values;
    std::string (*answer)(BoxSimulator& box, const Words& words);
};

constexpr Command Commands[] = {
    {command::Reset, 0, reset},
    {command::Requests, 0, requests},
    {command::ClearRequests, 0, clearRequests},
    {command::ArrivalGaps, 0, arrivalGaps},
    {command::PendingBytes, 0, pendingBytes},
    {command::Positions, 0, positions},
    {command::SetPositions, 1, setPositions},
    {command::Remote, 0, remote},
    {command::SetRemote, 1, setRemote},
    {command::Fault, 1, fault},
    {command::LateDelay, 1, setMilliseconds<&BoxSimulator::setLateDelayMs>},
    {command::SplitPause, 1, setMilliseconds<&BoxSimulator::setSplitPauseMs>},
    {command::AnalyseStream, 1, analyseStream},
    {command::AnalyseInterval, 1, setMilliseconds<&BoxSimulator::setAnalyseIntervalMs>},
    {command::ForceLength, 2, forceLength},
    {command::Send, 1, send},
    {command::Unplug, 0, unplug},
    {command::PlugIn, 0, plugIn},
};

} // namespace

std::string answerControlLine(BoxSimulator& box, std::string_view line)
{
    const Words words = wordsOf(line);
    for (const Command& known : Commands) {
        if (words.empty() || words[0] != known.word)
            continue;
        if (words.size() - 1 != known.values)
            return refused(std::string(known.word) + " takes " + std::to_string(known.values) + " value(s)");
        return known.answer(box, words);
    }
    return refused("unknown command: " + std::string(line));
}
