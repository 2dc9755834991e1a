// A value the user gave that a message cannot carry: out of range or malformed. Its text names
// the value and says what would do, and each front end shows it its own way (the command line
// as a usage error, a dialog in words beside the value).
#pragma once

#include <stdexcept>
#include <string>

struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
