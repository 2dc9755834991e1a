#include "PtyPair.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace boxsim {
namespace {

std::string failure(const char* step)
{
    return std::string(step) + ": " + std::strerror(errno);
}

} // namespace

PtyPair::~PtyPair()
{
    close();
}

bool PtyPair::open(std::string& error)
{
    close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        error = failure("posix_openpt");
        return false;
    }
    char name[256];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0
        || ptsname_r(m_master, name, sizeof name) != 0) {
        error = failure("pseudo-terminal setup");
        close();
        return false;
    }
    m_slavePath = name;
    const int flags = fcntl(m_master, F_GETFL);
    fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        error = failure("open slave");
        close();
        return false;
    }
    // Raw before any byte flows: an echoing slave would hand the box its own replies back.
    termios settings{};
    if (tcgetattr(m_slave, &settings) != 0) {
        error = failure("tcgetattr");
        close();
        return false;
    }
    cfmakeraw(&settings);
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0) {
        error = failure("tcsetattr");
        close();
        return false;
    }
    return true;
}

void PtyPair::close()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
    m_slavePath.clear();
}

} // namespace boxsim
