// "switch", "scr" and the positioner's own commands: the DiSEqC messages an installer sends
// from what they know (a switch port and a transponder, a user band, a drive east), worked out
// as the published layouts give them. A value a message cannot carry is a usage error that
// names it, and nothing is sent.
#include "cli/CliCommands.h"

#include "cli/ConsoleOutput.h"
#include "protocol/LnbTuning.h"

namespace {

using namespace Diseqc;

int numberArgument(const std::string& what, const std::string& text)
{
    try {
        return integerArgument(text);
    } catch (const UsageError&) {
        throw UsageError(what + " '" + text + "' is not a number");
    }
}

// The LNB's tuning for the transponder, on the LNB --lnb names (a universal one without).
LnbTuning tuningFor(const std::string& transponder, CommandOptions& options)
{
    const std::optional<std::string> lnb = options.take("--lnb");
    return checkedInput([&] { return tuneLnb(lnb ? parseLnb(*lnb) : UniversalLnb, parseTransponder(transponder)); });
}

Direction directionNamed(const std::string& command, const std::string& word)
{
    if (word == "east")
        return Direction::East;
    if (word == "west")
        return Direction::West;
    throw UsageError(command + " goes east or west, not '" + word + "'");
}

DiseqcMessage drive(const std::vector<std::string>& words)
{
    if (words.size() != 2)
        throw UsageError("drive takes east|west and STEPS (1-128) or SECONDS followed by s (1s-127s)");
    const Direction direction = directionNamed("drive", words[0]);
    const std::string& amount = words[1];
    if (amount.size() > 1 && (amount.back() == 's' || amount.back() == 'S')) {
        const int seconds = numberArgument("drive's time", amount.substr(0, amount.size() - 1));
        return checkedInput([&] { return motorDriveSeconds(direction, seconds); });
    }
    const int steps = numberArgument("drive's steps", amount);
    return checkedInput([&] { return motorDriveSteps(direction, steps); });
}

DiseqcMessage limit(const std::vector<std::string>& words)
{
    const std::string word = words.size() == 1 ? words[0] : "";
    if (word == "east" || word == "west")
        return motorLimit(directionNamed("limit", word) == Direction::East ? Limit::East : Limit::West);
    if (word == "off" || word == "on")
        return motorLimit(word == "off" ? Limit::Off : Limit::On);
    throw UsageError("limit takes east, west, off or on");
}

} // namespace

PlannedCommand planSwitch(const std::vector<std::string>& words, CommandOptions& options)
{
    if (words.size() != 2)
        throw UsageError("switch takes PORT (1-4) and TRANSPONDER (11362H)");
    SwitchChoice choice;
    choice.port = numberArgument("switch's port", words[0]);
    if (const std::optional<std::string> uncommitted = options.take("--uncommitted"))
        choice.uncommittedPort = numberArgument("--uncommitted", *uncommitted);
    if (const std::optional<std::string> repeats = options.take("--repeat"))
        choice.repeats = numberArgument("--repeat", *repeats);
    const LnbTuning tuning = tuningFor(words[1], options);
    return sendingMessages(checkedInput([&] { return switchMessages(choice, tuning); }));
}

PlannedCommand planSingleCable(const std::vector<std::string>& words, CommandOptions& options)
{
    if (words.size() != 3)
        throw UsageError("scr takes UB (the user band), UB-FREQ (its MHz) and TRANSPONDER (11362H)");
    ChannelChoice choice;
    choice.standard = options.takeFlag("--jess") ? SingleCable::En50607 : SingleCable::En50494;
    choice.userBand = numberArgument("scr's user band", words[0]);
    choice.userBandMHz = numberArgument("scr's user band frequency", words[1]);
    if (const std::optional<std::string> position = options.take("--position")) {
        // EN 50494 names its two positions A and B; EN 50607 numbers them.
        if (choice.standard == SingleCable::En50494 && (*position == "A" || *position == "a"))
            choice.position = 1;
        else if (choice.standard == SingleCable::En50494 && (*position == "B" || *position == "b"))
            choice.position = 2;
        else if (choice.standard == SingleCable::En50494)
            throw UsageError("--position under EN 50494 is A or B, not '" + *position + "'");
        else
            choice.position = numberArgument("--position", *position);
    }
    if (const std::optional<std::string> pin = options.take("--pin"))
        choice.pin = numberArgument("--pin", *pin);
    const LnbTuning tuning = tuningFor(words[2], options);
    const ChannelChange change = checkedInput([&] { return channelChange(choice, tuning); });
    PlannedCommand command = sendingMessages({change.message});
    command.prepare = [change](ConsoleOutput& output) {
        if (!output.quiet())
            output.reply("tune to:   " + std::to_string(change.tuneMHz) + " MHz");
        return Done;
    };
    return command;
}

PlannedCommand planPositioner(const std::string& name, const std::vector<std::string>& words)
{
    const auto slotOf = [&](const std::string& text) { return numberArgument(name + "'s position", text); };
    if (name == "halt") {
        if (!words.empty())
            throw UsageError("halt takes no argument");
        return sendingMessages({motorHalt()});
    }
    if (name == "limit")
        return sendingMessages({limit(words)});
    if (name == "drive")
        return sendingMessages({drive(words)});
    if (name == "store") {
        if (words.size() != 1)
            throw UsageError("store takes the position's number (1-255)");
        const int slot = slotOf(words[0]);
        return sendingMessages({checkedInput([&] { return motorStore(slot); })});
    }
    // goto slot N
    if (words.size() != 2)
        throw UsageError("goto slot takes the position's number (0-255)");
    const int slot = slotOf(words[1]);
    return sendingMessages({checkedInput([&] { return motorGotoSlot(slot); })});
}
