#include "cli/MoveWait.h"

#include "cli/ConsoleOutput.h"
#include "cli/ConsoleSession.h"
#include "cli/Interrupt.h"
#include "protocol/BoxRequests.h"
#include "protocol/DiseqcMessages.h"
#include "protocol/MotorEstimate.h"

#include <algorithm>
#include <cmath>

namespace {

// How often the countdown line is written again.
constexpr std::chrono::milliseconds CountdownStep{200};

} // namespace

ExitStatus waitForMove(ConsoleSession& session, const MotorMove& move, double speed, ConsoleOutput& output)
{
    MoveCountdown countdown;
    countdown.start(move, speed);
    if (!output.quiet())
        output.reply(estimateText(move, speed));
    while (countdown.secondsLeft() > 0) {
        output.countdown(countdown.text());
        const auto left = std::chrono::milliseconds(static_cast<long long>(std::ceil(countdown.secondsLeft() * 1000)));
        session.listen(std::min(CountdownStep, left));
    }
    output.endCountdown();
    if (!output.quiet())
        output.reply(move.seconds ? "the drive is over" : "the dish should now be in place");
    return Done;
}

void haltAfterInterrupt(ConsoleSession& session, ConsoleOutput& output)
{
    output.endCountdown();
    answerInterrupt(); // a second Ctrl+C ends the halt's wait for its reply too
    output.error("interrupted: the dish is halted where it is, a place now unknown");
    session.send(BoxRequests::diseqcMessage(Diseqc::motorHalt()));
}
