#include "protocol/DiseqcMessages.h"

#include "protocol/ByteFormat.h"
#include "protocol/InputError.h"

// The layouts are the published ones: the committed and uncommitted switch commands of DiSEqC
// 1.0 and 1.1, the positioner command set, EN 50494's ODU_Channel_change and EN 50607's
// channel change.

namespace Diseqc {

namespace {

constexpr std::uint8_t FirstTransmission = 0xE0;
constexpr std::uint8_t AnySwitch = 0x10;
constexpr std::uint8_t Positioner = 0x31;

std::uint8_t byte(int value) { return static_cast<std::uint8_t>(value); }

// `after` follows the range: a unit, or the standard that sets it.
void requireWithin(int value, int lowest, int highest, const std::string& what, const std::string& after = "")
{
    if (value < lowest || value > highest)
        throw InputError(what + " " + std::to_string(value) + " is outside " + std::to_string(lowest) + "-"
                         + std::to_string(highest) + after);
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
    requireWithin(choice.userBand, 1, 8, "user band", " under EN 50494");
    requireWithin(choice.position, 1, 2, "position", " (A, B) under EN 50494");
    // T = round((IF + UB) / 4) - 350, halves up: the LNB places the transponder on a 4 MHz grid.
    const int word = (tuning.intermediateMHz + choice.userBandMHz + 2) / 4 - 350;
    const int data1 = (choice.userBand - 1) << 5 | portBits(choice.position - 1, tuning) << 2 | word >> 8;
    DiseqcMessage message{FirstTransmission, AnySwitch, byte(choice.pin ? 0x5C : 0x5A), byte(data1), byte(word & 0xFF)};
    if (choice.pin)
        message.push_back(byte(*choice.pin));
    return {message, (word + 350) * 4 - tuning.intermediateMHz};
}

ChannelChange en50607(const ChannelChoice& choice, const LnbTuning& tuning)
{
    requireWithin(choice.userBand, 1, 32, "user band", " under EN 50607");
    requireWithin(choice.position, 1, 64, "position", " under EN 50607");
    // T = IF - 100 in 11 bits: the LNB tunes in 1 MHz steps, so the transponder lands on the
    // band's own frequency.
    const int word = tuning.intermediateMHz - 100;
    if (word > 0x7FF)
        throw InputError("an intermediate frequency of " + std::to_string(tuning.intermediateMHz)
                         + " MHz is beyond EN 50607's " + std::to_string(0x7FF + 100) + " MHz");
    DiseqcMessage message{byte(choice.pin ? 0x71 : 0x70), byte((choice.userBand - 1) << 3 | word >> 8),
                          byte(word & 0xFF), byte(portBits(choice.position - 1, tuning))};
    if (choice.pin)
        message.push_back(byte(*choice.pin));
    return {message, choice.userBandMHz};
}

} // namespace

std::string messageText(const DiseqcMessage& message)
{
    std::string text;
    for (const std::uint8_t value : message)
        text += (text.empty() ? "" : " ") + hexByte(value);
    return text;
}

BoxRequest request(const DiseqcMessage& message)
{
    return BoxRequests::diseqcMessage(std::string(message.begin(), message.end()));
}

DiseqcMessage repeated(DiseqcMessage message)
{
    message.at(0) |= 0x01;
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
    std::vector<DiseqcMessage> firsts;
    if (choice.uncommittedPort)
        firsts.push_back(uncommittedSwitch(*choice.uncommittedPort));
    firsts.push_back(committedSwitch(choice.port, tuning));
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
    if (choice.pin)
        requireWithin(*choice.pin, 0, 255, "PIN");
    return choice.standard == SingleCable::En50494 ? en50494(choice, tuning) : en50607(choice, tuning);
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
