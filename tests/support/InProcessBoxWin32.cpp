#include "InProcessBox.h"

// The box serves a pseudo-terminal, which Windows does not have.
std::unique_ptr<TestBox> openInProcessBox(std::string& error)
{
    error = "on Windows the simulated box runs as a process of its own: run the test through "
            "tests/support/with-boxsim.sh, which names its port and control channel";
    return nullptr;
}
