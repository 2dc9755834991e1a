// The one main() of every doctest executable.
#define DOCTEST_CONFIG_IMPLEMENT
#include "DoctestSkip.h"

#include "doctest.h"

#include <atomic>

namespace {

std::atomic<bool> skipped{false};

} // namespace

void skipCase(const std::string& why)
{
    MESSAGE("SKIP: ", why);
    skipped = true;
}

bool anyCaseSkipped()
{
    return skipped;
}

int main(int argc, char** argv)
{
    doctest::Context context(argc, argv);
    const int failed = context.run();
    if (context.shouldExit() || failed != 0)
        return failed;
    return anyCaseSkipped() ? SkipExitCode : 0;
}
