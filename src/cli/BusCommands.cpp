// "switch", "scr" and the positioner's own commands: the DiSEqC messages an installer sends
// from what they know (a switch port and a transponder, a user band, a drive east), worked out
// as the published layouts give them. A value a message cannot carry is a usage error that
// names it, and nothing is sent.
#include "cli/CliCommands.h"

#include "cli/ConsoleOutput.h"
#include "protocol/LnbTuning.h"

#include <algorithm>
#include <cctype>

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

// The quiet between the messages --gap asks for, or the bus's usual one.
std::chrono::milliseconds gapFor(CommandOptions& options)
{
    const std::optional<std::string> gap = options.take("--gap");
    if (!gap)
        return MessageGap;
    const int ms = numberArgument("--gap", *gap);
    return checkedInput([&] { return messageGap(ms); });
}

std::optional<int> pinFor(CommandOptions& options)
{
    if (const std::optional<std::string> pin = options.take("--pin"))
        return numberArgument("--pin", *pin);
    return std::nullopt;
}

// EN 50494 names its positions (A, B); EN 50607 numbers them.
int positionFor(SingleCable standard, const std::string& text)
{
    if (standard == SingleCable::En50607)
        return numberArgument("--position", text);
    for (int position = 1; position <= positionCount(standard); ++position) {
        const std::string name = positionName(standard, position);
        if (text.size() == name.size()
            && std::equal(text.begin(), text.end(), name.begin(),
                          [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; }))
            return position;
    }
    throw UsageError("--position under EN 50494 is A or B, not '" + text + "'");
}

// "scr tones" and "scr off UB": `words` after "scr".
PlannedCommand planUserBands(const std::vector<std::string>& words, SingleCable standard, CommandOptions& options)
{
    const std::optional<int> pin = pinFor(options);
    const std::chrono::milliseconds gap = gapFor(options);
    if (words[0] == "tones") {
        if (words.size() != 1)
            throw UsageError("scr tones takes no argument");
        return sendingMessages({checkedInput([&] { return userBandTones(standard, pin); })}, gap);
    }
    if (words.size() != 2)
        throw UsageError("scr off takes UB, the user band to release");
    const int userBand = numberArgument("scr off's user band", words[1]);
    return sendingMessages({checkedInput([&] { return releaseUserBand(standard, userBand, pin); })}, gap);
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
    choice.committedFirst = options.takeFlag("--committed-first");
    const std::chrono::milliseconds gap = gapFor(options);
    const LnbTuning tuning = tuningFor(words[1], options);
    return sendingMessages(checkedInput([&] { return switchMessages(choice, tuning); }), gap);
}

PlannedCommand planSingleCable(const std::vector<std::string>& words, CommandOptions& options)
{
    const SingleCable standard = options.takeFlag("--jess") ? SingleCable::En50607 : SingleCable::En50494;
    if (!words.empty() && (words[0] == "tones" || words[0] == "off"))
        return planUserBands(words, standard, options);
    if (words.size() != 3)
        throw UsageError("scr takes UB (the user band), UB-FREQ (its MHz) and TRANSPONDER (11362H), or tones, "
                         "or off UB");
    ChannelChoice choice;
    choice.standard = standard;
    choice.userBand = numberArgument("scr's user band", words[0]);
    choice.userBandMHz = numberArgument("scr's user band frequency", words[1]);
    if (const std::optional<std::string> position = options.take("--position"))
        choice.position = positionFor(standard, *position);
    choice.pin = pinFor(options);
    const std::chrono::milliseconds gap = gapFor(options);
    const LnbTuning tuning = tuningFor(words[2], options);
    const ChannelChange change = checkedInput([&] { return channelChange(choice, tuning); });
    PlannedCommand command = sendingMessages({change.message}, gap);
    command.prepare = [change](ConsoleOutput& output) {
        if (!output.quiet())
            output.reply("tune to:   " + formatMHz(change.tuneMHz) + " MHz");
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
