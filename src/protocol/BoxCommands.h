// The box's fixed commands, each described once for both front ends: the window's menu
// handlers send them, the command line offers them by name and lists them in its help.
#pragma once

#include "protocol/BoxRequests.h"

#include <cstdint>
#include <string_view>
#include <vector>

// What a command takes besides itself: the menu item's check state, or the number its input
// box asks for.
enum class CommandArgument { None, OnOff, Byte };

struct BoxCommand {
    const char* name; // the command line's word
    CommandArgument argument;
    const char* help;       // the command line's description
    bool askFirst;          // the window asks "Are you sure?" before sending
    bool trafficAfterReply; // the box may send more after the reply (the bus analyser's traffic)
    // The requests, in order; each is sent whatever the box answered to the one before.
    std::vector<BoxRequest> (*requests)(std::uint8_t argument);
};

namespace BoxCommands {

extern const BoxCommand HardwareInfo, Test22kHz, DsqPower, Analyse, SoftwareReset, IrDetect, SetIrValue,
    GetIrValue, StepUp, StepDown, SetPosition, DiseqcReset, PeripheralPowerOn, DriveToZero, StepEast,
    StepWest, Recalculate;

// Every command, in the order of the window's menus.
const std::vector<const BoxCommand*>& all();

// The command the command line names `name`, or null.
const BoxCommand* named(std::string_view name);

} // namespace BoxCommands
