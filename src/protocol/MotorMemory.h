// What Vantorel knows of where the dish's positioner is. No DiSEqC motor tells where it is,
// so the only knowledge is where it was sent: every motor message Vantorel sends sets it,
// whatever sent it, by the one rule here that both front ends apply where they send.
#pragma once

#include "protocol/BoxRequests.h"

#include <map>
#include <optional>

struct MotorMemory {
    std::optional<double> angle; // degrees from the reference, east positive; none: unknown
    std::map<int, double> storedAngles; // the stored positions (1-255) whose angle is known

    bool operator==(const MotorMemory& other) const
    {
        return angle == other.angle && storedAngles == other.storedAngles;
    }
};

// A move of the dish: from where it was sent last to where it is sent now (none: unknown),
// or a drive that lasts a given time.
struct MotorMove {
    std::optional<double> from;
    std::optional<double> to;
    std::optional<int> seconds; // a drive for a time
};

enum class MotorChange {
    None,   // no message to the motor
    Stored, // the memory changed and the dish stays where it is (a store)
    Turned, // the dish turns as the effect's move says
    Lost,   // the dish moved or stopped where nobody knows (halt, steps, the box's own commands)
};

struct MotorEffect {
    MotorChange change = MotorChange::None;
    std::optional<MotorMove> move; // with Turned
};

// What `request`, sent to the box, does to `memory`. A motor message the box did not confirm
// (`replied` false) may or may not have reached the bus: the angle is then unknown.
MotorEffect applySentRequest(const BoxRequest& request, MotorMemory& memory, bool replied = true);
