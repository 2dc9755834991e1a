// Read and write time-outs per port. A terminal has no such setting, so the readers and
// writers of this layer look them up here.
#include "SerialIoPosix.h"

#include <mutex>
#include <unordered_map>

namespace serial {
namespace {

std::mutex timeoutsLock;
std::unordered_map<int, Timeouts> timeoutsByDescriptor; // guarded by timeoutsLock

} // namespace

namespace detail {

Timeouts timeoutsOf(int descriptor)
{
    const std::lock_guard<std::mutex> guard(timeoutsLock);
    const auto found = timeoutsByDescriptor.find(descriptor);
    return found == timeoutsByDescriptor.end() ? Timeouts{} : found->second;
}

void forgetTimeouts(int descriptor)
{
    const std::lock_guard<std::mutex> guard(timeoutsLock);
    timeoutsByDescriptor.erase(descriptor);
}

} // namespace detail

bool getTimeouts(Handle handle, Timeouts& timeouts)
{
    const int descriptor = detail::descriptorOf(handle);
    if (!detail::isOpenDescriptor(descriptor))
        return false;
    timeouts = detail::timeoutsOf(descriptor);
    return true;
}

bool setTimeouts(Handle handle, const Timeouts& timeouts)
{
    const int descriptor = detail::descriptorOf(handle);
    if (!detail::isOpenDescriptor(descriptor))
        return false;
    const std::lock_guard<std::mutex> guard(timeoutsLock);
    timeoutsByDescriptor[descriptor] = timeouts;
    return true;
}

} // namespace serial
