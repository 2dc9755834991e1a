#include "protocol/MotorMemory.h"

// The positioner command set: 60 halt, 68/69 drive east/west (00 for ever, 01-7F seconds,
// 80-FF steps), 6A store (00 turns the limits on), 6B goto a stored position (0 the
// reference), 6E goto an angle (a direction nibble, E east or D west, and a 12-bit count of
// sixteenths; 6E 00 alone is the reference), 6F recalculate the stored positions.

namespace {

constexpr std::uint8_t AnyPositioner = 0x30;
constexpr std::uint8_t PolarPositioner = 0x31;

// The box's own positioner commands, which move the dish by its own table or steps.
bool boxMovesDish(const BoxRequest& request)
{
    const std::string setPosition = BoxRequests::setPosition(0).bytes.substr(0, 2);
    return request.bytes == BoxRequests::stepUp().bytes || request.bytes == BoxRequests::stepDown().bytes
        || request.bytes.compare(0, setPosition.size(), setPosition) == 0;
}

std::optional<double> decodedAngle(const std::string& data)
{
    if (data.size() == 1 && data[0] == 0)
        return 0.0;
    if (data.size() != 2)
        return std::nullopt;
    const auto high = static_cast<std::uint8_t>(data[0]);
    const int sixteenths = (high & 0x0F) << 8 | static_cast<std::uint8_t>(data[1]);
    if (sixteenths == 0)
        return 0.0;
    if (high >> 4 == 0xE)
        return sixteenths / 16.0;
    if (high >> 4 == 0xD)
        return -sixteenths / 16.0;
    return std::nullopt;
}

MotorEffect turned(MotorMemory& memory, std::optional<double> to)
{
    const MotorMove move{memory.angle, to, std::nullopt};
    memory.angle = to;
    return {MotorChange::Turned, move};
}

MotorEffect lost(MotorMemory& memory)
{
    memory.angle.reset();
    return {MotorChange::Lost, std::nullopt};
}

MotorEffect positionerMessage(std::uint8_t command, const std::string& data, MotorMemory& memory, bool replied)
{
    const int first = data.empty() ? -1 : static_cast<std::uint8_t>(data[0]);
    switch (command) {
    case 0x60:
        return lost(memory);
    case 0x68:
    case 0x69:
        if (first >= 0x01 && first <= 0x7F) {
            memory.angle.reset();
            return {MotorChange::Turned, MotorMove{std::nullopt, std::nullopt, first}};
        }
        return lost(memory);
    case 0x6A:
        if (first <= 0)
            return {};
        // A store the box did not confirm may or may not have happened.
        if (memory.angle && replied)
            memory.storedAngles[first] = *memory.angle;
        else
            memory.storedAngles.erase(first);
        return {MotorChange::Stored, std::nullopt};
    case 0x6B: {
        if (first == 0)
            return turned(memory, 0.0);
        const auto slot = memory.storedAngles.find(first);
        return turned(memory, slot == memory.storedAngles.end() ? std::nullopt : std::optional<double>(slot->second));
    }
    case 0x6E:
        return turned(memory, decodedAngle(data));
    case 0x6F:
        memory.storedAngles.clear();
        return lost(memory);
    default:
        return {};
    }
}

} // namespace

MotorEffect applySentRequest(const BoxRequest& request, MotorMemory& memory, bool replied)
{
    MotorEffect effect;
    const std::optional<std::string> message = BoxRequests::carriedDiseqcMessage(request);
    if (boxMovesDish(request)) {
        effect = lost(memory);
    } else if (message && message->size() >= 3 && (static_cast<std::uint8_t>((*message)[0]) & 0xFC) == 0xE0) {
        const auto address = static_cast<std::uint8_t>((*message)[1]);
        if (address == AnyPositioner || address == PolarPositioner)
            effect = positionerMessage(static_cast<std::uint8_t>((*message)[2]), message->substr(3), memory, replied);
    }
    if (!replied && (effect.change == MotorChange::Turned || effect.change == MotorChange::Lost))
        return lost(memory);
    return effect;
}
