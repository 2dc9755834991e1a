// The DiSEqC messages an installer sends from what they know: a switch port and a transponder,
// a single-cable user band, the positioner's own commands and the motor's angle. Each builder
// checks its figures against what the message can carry and throws InputError, naming the
// value, where it cannot. The box's request that carries a message onto the bus wraps it
// (BoxRequests).
#pragma once

#include "protocol/LnbTuning.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Framing, address, command and up to three data bytes.
using DiseqcMessage = std::vector<std::uint8_t>;

namespace Diseqc {

// The quiet the bus asks for after each message is at least 15 ms; a switch further down a
// cascade, and a slow one, needs longer before the next message reaches it. Beyond a second
// a receiver would have given up.
constexpr std::chrono::milliseconds MessageGap{100};
constexpr int ShortestGapMs = 15;
constexpr int LongestGapMs = 1000;
// The gap between the messages of one command, ShortestGapMs to LongestGapMs.
std::chrono::milliseconds messageGap(int ms);

// "E0 10 38 F6".
std::string messageText(const DiseqcMessage& message);

// The same message as a repeat: framing E0 becomes E1, E2 becomes E3. Only those two framings
// have a repeat: any other is refused.
DiseqcMessage repeated(DiseqcMessage message);

// A committed port (DiSEqC 1.0, E0 10 38), 1 to 4, with the LNB's polarisation and band.
DiseqcMessage committedSwitch(int port, const LnbTuning& tuning);
// An uncommitted port (DiSEqC 1.1, E0 10 39), 1 to 16.
DiseqcMessage uncommittedSwitch(int port);

// What a switch port takes, in the order it is sent: the uncommitted port first when there is
// one, then the committed one (the other way round when `committedFirst`, which needs an
// uncommitted port), each followed by `repeats` (0 to 3) repeats of itself.
struct SwitchChoice {
    int port;
    std::optional<int> uncommittedPort;
    int repeats = 0;
    bool committedFirst = false;
};
std::vector<DiseqcMessage> switchMessages(const SwitchChoice& choice, const LnbTuning& tuning);

// Single cable: a receiver's channel change to its user band, with the frequency the
// transponder then lands on, which a meter or a receiver is tuned to.
enum class SingleCable { En50494, En50607 };
struct ChannelChoice {
    SingleCable standard = SingleCable::En50494;
    int userBand;          // 1-8 (EN 50494), 1-32 (EN 50607)
    int userBandMHz;       // the band's centre, 950-2150
    int position = 1;      // A = 1, B = 2 (EN 50494); 1-64 (EN 50607)
    std::optional<int> pin; // 0-255
};
struct ChannelChange {
    DiseqcMessage message;
    double tuneMHz; // where the LNB's step puts the transponder, near the band's centre
};
ChannelChange channelChange(const ChannelChoice& choice, const LnbTuning& tuning);
// Every user band sends a tone at its centre frequency, for a meter to show which bands the
// LNB offers (EN 50494 only: EN 50607 has no such message, refused).
DiseqcMessage userBandTones(SingleCable standard, std::optional<int> pin = std::nullopt);
// The user band switched off, for a receiver moved or replaced.
DiseqcMessage releaseUserBand(SingleCable standard, int userBand, std::optional<int> pin = std::nullopt);

int userBandCount(SingleCable standard);
int positionCount(SingleCable standard);
// The positions as EN 50494 names them (A, B) and EN 50607 numbers them.
std::string positionName(SingleCable standard, int position);

// The positioner's commands (E0 31).
enum class Direction { East, West };
// East and West set that limit where the dish is, which turns the limits on; On turns them
// back on as they were set.
enum class Limit { East, West, Off, On };
DiseqcMessage motorHalt();
DiseqcMessage motorLimit(Limit limit);
// A drive of 1 to 128 steps, or of 1 to 127 seconds.
DiseqcMessage motorDriveSteps(Direction direction, int steps);
DiseqcMessage motorDriveSeconds(Direction direction, int seconds);
// The positioner's stored positions: 1 to 255 stored, 0 to 255 gone to (0 is its reference).
DiseqcMessage motorStore(int slot);
DiseqcMessage motorGotoSlot(int slot);
// "Drive Motor to Angular Position": sixteenths of a degree from the reference, east or west.
DiseqcMessage motorGotoAngle(int sixteenths, Direction direction);

} // namespace Diseqc
