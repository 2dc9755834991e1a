#include "TestBox.h"

#include "InProcessBox.h"
#include "ProcessBox.h"

#include <cstdlib>

std::unique_ptr<TestBox> openTestBox(std::string& error)
{
    const char* control = std::getenv("VANTOREL_TEST_CONTROL");
    const char* port = std::getenv("VANTOREL_TEST_PORT");
    if (control && port)
        return openProcessBox(port, control, error);
    return openInProcessBox(error);
}
