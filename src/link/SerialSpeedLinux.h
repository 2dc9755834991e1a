// Line speeds as plain numbers, any value the driver accepts, not only the classic B-constant
// table. Kept apart because the kernel's termios2 header cannot meet <termios.h>.
#pragma once

#include <cstdint>

namespace serial::detail {

bool readLineSpeed(int descriptor, std::uint32_t& speed);
bool writeLineSpeed(int descriptor, std::uint32_t speed);

} // namespace serial::detail
