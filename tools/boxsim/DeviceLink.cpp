#include "DeviceLink.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace boxsim {
namespace {

bool isSymbolicLink(const std::string& path)
{
    struct stat status{};
    return lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

} // namespace

bool placeLink(const std::string& target, const std::string& link, std::string& error)
{
    struct stat status{};
    if (lstat(link.c_str(), &status) == 0) {
        if (!S_ISLNK(status.st_mode)) {
            error = link + " exists and is not a symbolic link";
            return false;
        }
        unlink(link.c_str());
    }
    if (symlink(target.c_str(), link.c_str()) != 0) {
        error = link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void removeLink(const std::string& link)
{
    if (isSymbolicLink(link))
        unlink(link.c_str());
}

} // namespace boxsim
