#include "protocol/BoxCommands.h"

namespace BoxCommands {

namespace {

using Requests = std::vector<BoxRequest>;

constexpr bool AskFirst = true;
constexpr bool Traffic = true;

} // namespace

const BoxCommand HardwareInfo{"info", CommandArgument::None, "hardware information", false, false,
                              [](std::uint8_t) { return Requests{BoxRequests::hardwareInfo()}; }};
const BoxCommand Test22kHz{"22khz", CommandArgument::OnOff, "22 kHz test tone", false, false,
                           [](std::uint8_t on) { return Requests{BoxRequests::test22kHz(on)}; }};
const BoxCommand DsqPower{"dsq-power", CommandArgument::OnOff, "DiSEqC bus power", false, false,
                          [](std::uint8_t on) { return Requests{BoxRequests::dsqPower(on)}; }};
const BoxCommand Analyse{"analyse", CommandArgument::OnOff, "bus analyser", false, Traffic,
                         [](std::uint8_t on) { return Requests{BoxRequests::analyse(on)}; }};
const BoxCommand SoftwareReset{"reset", CommandArgument::None, "software reset of the box", AskFirst, false,
                               [](std::uint8_t) { return Requests{BoxRequests::softwareReset()}; }};
const BoxCommand IrDetect{"ir-detect", CommandArgument::OnOff, "IR value detection", false, false,
                          [](std::uint8_t on) { return Requests{BoxRequests::irDetect(on)}; }};
const BoxCommand SetIrValue{"ir-set", CommandArgument::Byte, "set the IR value", false, false,
                            [](std::uint8_t value) {
                                return Requests{BoxRequests::setIrValue(value), BoxRequests::followUp()};
                            }};
const BoxCommand GetIrValue{"ir-get", CommandArgument::None, "read the IR value", false, false,
                            [](std::uint8_t) { return Requests{BoxRequests::readIrValue()}; }};
const BoxCommand StepUp{"step-up", CommandArgument::None, "positioner one step up", false, false,
                        [](std::uint8_t) { return Requests{BoxRequests::stepUp()}; }};
const BoxCommand StepDown{"step-down", CommandArgument::None, "positioner one step down", false, false,
                          [](std::uint8_t) { return Requests{BoxRequests::stepDown()}; }};
const BoxCommand SetPosition{"set-position", CommandArgument::Byte, "positioner to position N", false, false,
                             [](std::uint8_t position) { return Requests{BoxRequests::setPosition(position)}; }};
const BoxCommand DiseqcReset{"diseqc-reset", CommandArgument::None, "DiSEqC reset to all (E0 00 00)", false, false,
                             [](std::uint8_t) { return Requests{BoxRequests::diseqcReset()}; }};
const BoxCommand PeripheralPowerOn{"peripheral-power-on", CommandArgument::None,
                                   "DiSEqC peripheral power on (E0 00 03)", false, false,
                                   [](std::uint8_t) { return Requests{BoxRequests::diseqcPeripheralPowerOn()}; }};
const BoxCommand DriveToZero{"drive-to-zero", CommandArgument::None, "DiSEqC polar motor to 0 (E0 31 6E 00)", false,
                             false, [](std::uint8_t) { return Requests{BoxRequests::drivePolarMotorToZero()}; }};
const BoxCommand StepEast{"step-east", CommandArgument::None, "DiSEqC step motor east (E0 31 68 FF)", false, false,
                          [](std::uint8_t) { return Requests{BoxRequests::driveStepMotorEast()}; }};
const BoxCommand StepWest{"step-west", CommandArgument::None, "DiSEqC step motor west (E0 31 69 FF)", false, false,
                          [](std::uint8_t) { return Requests{BoxRequests::driveStepMotorWest()}; }};
const BoxCommand Recalculate{"recalculate", CommandArgument::None,
                             "DiSEqC recalculate satellite positions (E0 31 6F 00)", AskFirst, false,
                             [](std::uint8_t) { return Requests{BoxRequests::recalculateSatellitePositions()}; }};

const std::vector<const BoxCommand*>& all()
{
    static const std::vector<const BoxCommand*> commands = {
        &HardwareInfo, &Test22kHz, &DsqPower, &Analyse, &SoftwareReset, &IrDetect, &SetIrValue, &GetIrValue,
        &StepUp, &StepDown, &SetPosition, &DiseqcReset, &PeripheralPowerOn, &DriveToZero, &StepEast,
        &StepWest, &Recalculate};
    return commands;
}

const BoxCommand* named(std::string_view name)
{
    for (const BoxCommand* command : all()) {
        if (name == command->name)
            return command;
    }
    return nullptr;
}

} // namespace BoxCommands
