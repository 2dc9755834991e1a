// Windows has no fork(), and a test run has no second user to become: the pieces that need
// a child with fewer rights are skipped there with this reason, and nothing is prepared
// for a child that never runs.
#include "ChildProcess.h"

namespace {

const QString NoChild = QStringLiteral("Windows has no fork() to run a part of the test with fewer rights");

} // namespace

ChildOutcome runInChild(const std::function<QString()>&, const std::function<QString()>&)
{
    return {{}, NoChild};
}

QString becomeUnprivileged()
{
    return NoChild;
}

QString limitFileSize()
{
    return NoChild;
}

void openToEveryone(const QString&) {}

void giveToNobody(const QString&) {}
