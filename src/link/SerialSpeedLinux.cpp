// termios2 with BOTHER carries the speed as a number, so odd rates reach the driver as asked.
#include "link/SerialSpeedLinux.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace serial::detail {

bool readLineSpeed(int descriptor, std::uint32_t& speed)
{
    termios2 line{};
    if (ioctl(descriptor, TCGETS2, &line) != 0)
        return false;
    speed = line.c_ospeed;
    return true;
}

bool writeLineSpeed(int descriptor, std::uint32_t speed)
{
    termios2 line{};
    if (ioctl(descriptor, TCGETS2, &line) != 0)
        return false;
    // With the input speed bits cleared the input follows the output speed.
    line.c_cflag &= ~(CBAUD | CIBAUD);
    line.c_cflag |= BOTHER;
    line.c_ispeed = speed;
    line.c_ospeed = speed;
    return ioctl(descriptor, TCSETS2, &line) == 0;
}

} // namespace serial::detail
