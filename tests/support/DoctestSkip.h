// A doctest case that cannot run here says why with skipCase() and returns; when nothing
// failed, the suite then ends with CTest's skip code, so that the run reports it skipped
// rather than passed.
#pragma once

#include <string>

constexpr int SkipExitCode = 77;

void skipCase(const std::string& why);

// Whether a case of this run called skipCase().
bool anyCaseSkipped();
