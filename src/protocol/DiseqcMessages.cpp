#include "protocol/DiseqcMessages.h"

#include "protocol/ByteFormat.h"
#include "protocol/InputError.h"

#include <cmath>

// The layouts are the published ones: the committed and uncommitted switch commands of DiSEqC
// 1.0 and 1.1, the positioner command set, EN 50494's ODU_Channel_change, ODU_PowerOFF and
// ODU_UBxSignal_ON, and EN 50607's channel change and power off.

namespace Diseqc {

namespace {

constexpr std::uint8_t FirstTransmission = 0xE0;
constexpr std::uint8_t FirstTransmissionReplyWanted = 0xE2;
constexpr std::uint8_t AnySwitch = 0x10;
constexpr std::uint8_t Positioner = 0x31;

constexpr int En50494UserBands = 8;
constexpr int En50494Positions = 2;
constexpr int En50607UserBands = 32;
constexpr int En50607Positions = 64;

// EN 50494's commands to any switch (E0 10 xx), the second of each pair with a PIN.
constexpr std::uint8_t En50494ChannelChange = 0x5A;
constexpr std::uint8_t En50494ChannelChangePin = 0x5C;
constexpr std::uint8_t En50494Tones = 0x5B;
constexpr std::uint8_t En50494TonesPin = 0x5D;
// EN 50607's framing bytes, which are its commands.
constexpr std::uint8_t En50607ChannelChange = 0x70;
constexpr std::uint8_t En50607ChannelChangePin = 0x71;

std::uint8_t byte(int value) { return static_cast<std::uint8_t>(value); }

// `after` follows the range: a unit, or the standard that sets it.
void requireWithin(int value, int lowest, int highest, const std::string& what, const std::string& after = "")
{
    if (value < lowest || value > highest)
        throw InputError(what + " " + std::to_string(value) + " is outside " + std::to_string(lowest) + "-"
                         + std::to_string(highest) + after);
}

std::string standardName(SingleCable standard)
{
    return standard == SingleCable::En50494 ? "EN 50494" : "EN 50607";
}

void requireUserBand(SingleCable standard, int userBand)
{
    requireWithin(userBand, 1, userBandCount(standard), "user band", " under " + standardName(standard));
}

// The message with the PIN after it, when there is one.
DiseqcMessage withPin(DiseqcMessage message, std::optional<int> pin)
{
    if (pin) {
        requireWithin(*pin, 0, 255, "PIN");
        message.push_back(byte(*pin));
    }
    return message;
}

// EN 50494: E0 10, the command, D1 = UB-1 (3 bits) position pol band T9 T8, D2 = T7..T0.
DiseqcMessage en50494Message(std::uint8_t command, int data1, int word, std::optional<int> pin)
{
    return withPin({FirstTransmission, AnySwitch, command, byte(data1 | word >> 8), byte(word & 0xFF)}, pin);
}

// EN 50607: the command as framing, D1 = UB-1 (5 bits) T10..T8, D2 = T7..T0, D3 = position-1
// (6 bits) pol band.
DiseqcMessage en50607Message(int userBand, int word, int data3, std::optional<int> pin)
{
    return withPin({byte(pin ? En50607ChannelChangePin : En50607ChannelChange), byte((userBand - 1) << 3 | word >> 8),
                    byte(word & 0xFF), byte(data3)},
                   pin);
}

DiseqcMessage positioner(std::uint8_t command, std::optional<std::uint8_t> data = std::nullopt)
{
    DiseqcMessage message{FirstTransmission, Positioner, command};
    if (data)
        message.push_back(*data);
    return message;
}

// The low bits switches and single-cable LNBs share: the port or position, then the
// polarisation (horizontal 1) and the band (high 1).
int portBits(int positionIndex, const LnbTuning& tuning)
{
    return positionIndex << 2 | (tuning.polarisation == Polarisation::Horizontal ? 2 : 0) | (tuning.highBand ? 1 : 0);
}

ChannelChange en50494(const ChannelChoice& choice, const LnbTuning& tuning)
{
    requireUserBand(SingleCable::En50494, choice.userBand);
    requireWithin(choice.position, 1, En50494Positions, "position", " (A, B) under EN 50494");
    // T = round((IF + UB) / 4) - 350, halves up, from the exact IF: the LNB's oscillator
    // steps by 4 MHz, (T + 350) * 4, and the transponder lands on that oscillator less its IF.
    const int word = static_cast<int>(std::floor((tuning.intermediateMHz + choice.userBandMHz) / 4 + 0.5)) - 350;
    const int data1 = (choice.userBand - 1) << 5 | portBits(choice.position - 1, tuning) << 2;
    return {en50494Message(choice.pin ? En50494ChannelChangePin : En50494ChannelChange, data1, word, choice.pin),
            (word + 350) * 4 - tuning.intermediateMHz};
}

ChannelChange en50607(const ChannelChoice& choice, const LnbTuning& tuning)
{
    requireUserBand(SingleCable::En50607, choice.userBand);
    requireWithin(choice.position, 1, En50607Positions, "position", " under EN 50607");
    // T = IF - 100 in 11 bits, the IF rounded halves up: the LNB tunes in 1 MHz steps, and
    // the transponder lands as far from the band's centre as the step is from its IF.
    const int word = static_cast<int>(std::floor(tuning.intermediateMHz + 0.5)) - 100;
    if (word > 0x7FF)
        throw InputError("an intermediate frequency of " + formatMHz(tuning.intermediateMHz)
                         + " MHz is beyond EN 50607's " + std::to_string(0x7FF + 100) + " MHz");
    return {en50607Message(choice.userBand, word, portBits(choice.position - 1, tuning), choice.pin),
            choice.userBandMHz + (word + 100 - tuning.intermediateMHz)};
}

} // namespace

std::string messageText(const DiseqcMessage& message)
{
    std::string text;
    for (const std::uint8_t value : message)
        text += (text.empty() ? "" : " ") + hexByte(value);
    return text;
}

std::chrono::milliseconds messageGap(int ms)
{
    requireWithin(ms, ShortestGapMs, LongestGapMs, "gap", " ms");
    return std::chrono::milliseconds(ms);
}

DiseqcMessage repeated(DiseqcMessage message)
{
    const std::uint8_t framing = message.at(0);
    if (framing != FirstTransmission && framing != FirstTransmissionReplyWanted)
        throw InputError("framing " + hexByte(framing) + " has no repeat: only E0 and E2 have");
    message[0] = framing | 0x01;
    return message;
}

DiseqcMessage committedSwitch(int port, const LnbTuning& tuning)
{
    requireWithin(port, 1, 4, "switch port");
    // Option and position bits, polarisation, band; the high nibble F changes all four.
    return {FirstTransmission, AnySwitch, 0x38, byte(0xF0 | portBits(port - 1, tuning))};
}

DiseqcMessage uncommittedSwitch(int port)
{
    requireWithin(port, 1, 16, "uncommitted port");
    return {FirstTransmission, AnySwitch, 0x39, byte(0xF0 | (port - 1))};
}

std::vector<DiseqcMessage> switchMessages(const SwitchChoice& choice, const LnbTuning& tuning)
{
    requireWithin(choice.repeats, 0, 3, "repeats");
    if (choice.committedFirst && !choice.uncommittedPort)
        throw InputError("the committed message first needs an uncommitted port to go after it");
    std::vector<DiseqcMessage> firsts;
    if (choice.uncommittedPort)
        firsts.push_back(uncommittedSwitch(*choice.uncommittedPort));
    firsts.insert(choice.committedFirst ? firsts.begin() : firsts.end(), committedSwitch(choice.port, tuning));
    std::vector<DiseqcMessage> messages;
    for (const DiseqcMessage& first : firsts) {
        messages.push_back(first);
        messages.insert(messages.end(), static_cast<std::size_t>(choice.repeats), repeated(first));
    }
    return messages;
}

ChannelChange channelChange(const ChannelChoice& choice, const LnbTuning& tuning)
{
    requireWithin(choice.userBandMHz, LowestIntermediateMHz, HighestIntermediateMHz, "user band frequency", " MHz");
    return choice.standard == SingleCable::En50494 ? en50494(choice, tuning) : en50607(choice, tuning);
}

DiseqcMessage userBandTones(SingleCable standard, std::optional<int> pin)
{
    if (standard != SingleCable::En50494)
        throw InputError("EN 50607 has no message for tones on all user bands: only EN 50494 has");
    return en50494Message(pin ? En50494TonesPin : En50494Tones, 0, 0, pin);
}

DiseqcMessage releaseUserBand(SingleCable standard, int userBand, std::optional<int> pin)
{
    requireUserBand(standard, userBand);
    // A channel change with a tuning word of 0, position, polarisation and band 0.
    if (standard == SingleCable::En50494)
        return en50494Message(pin ? En50494ChannelChangePin : En50494ChannelChange, (userBand - 1) << 5, 0, pin);
    return en50607Message(userBand, 0, 0, pin);
}

int userBandCount(SingleCable standard)
{
    return standard == SingleCable::En50494 ? En50494UserBands : En50607UserBands;
}

int positionCount(SingleCable standard)
{
    return standard == SingleCable::En50494 ? En50494Positions : En50607Positions;
}

std::string positionName(SingleCable standard, int position)
{
    if (standard == SingleCable::En50494)
        return std::string(1, static_cast<char>('A' + position - 1));
    return std::to_string(position);
}

DiseqcMessage motorHalt() { return positioner(0x60); }

DiseqcMessage motorLimit(Limit limit)
{
    switch (limit) {
    case Limit::East: return positioner(0x66);
    case Limit::West: return positioner(0x67);
    case Limit::Off: return positioner(0x63);
    case Limit::On: break;
    }
    return positioner(0x6A, 0x00); // a store of position 0
}

// The drive's data byte: 01-7F seconds, 80-FF steps counted down from 256.
DiseqcMessage motorDriveSteps(Direction direction, int steps)
{
    requireWithin(steps, 1, 128, "steps");
    return positioner(direction == Direction::East ? 0x68 : 0x69, byte(256 - steps));
}

DiseqcMessage motorDriveSeconds(Direction direction, int seconds)
{
    requireWithin(seconds, 1, 127, "seconds");
    return positioner(direction == Direction::East ? 0x68 : 0x69, byte(seconds));
}

DiseqcMessage motorStore(int slot)
{
    // 6A 00 is no store: it turns the limits back on.
    requireWithin(slot, 1, 255, "stored position");
    return positioner(0x6A, byte(slot));
}

DiseqcMessage motorGotoSlot(int slot)
{
    requireWithin(slot, 0, 255, "stored position");
    return positioner(0x6B, byte(slot));
}

DiseqcMessage motorGotoAngle(int sixteenths, Direction direction)
{
    // A direction nibble (E east, D west), then a 12-bit count.
    requireWithin(sixteenths, 0, 0xFFF, "motor angle", " sixteenths of a degree");
    return {FirstTransmission, Positioner, 0x6E, byte((direction == Direction::East ? 0xE0 : 0xD0) | sixteenths >> 8),
            byte(sixteenths & 0xFF)};
}

} // namespace Diseqc
