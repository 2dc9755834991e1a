#include "link/ReceiveBuffer.h"

#include <algorithm>
#include <cstring>

void ReceiveBuffer::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bytes.fill(0);
    m_count.store(0, std::memory_order_release);
}

bool ReceiveBuffer::wouldOverflow(std::uint32_t size) const
{
    return static_cast<std::uint64_t>(count()) + size > Capacity;
}

void ReceiveBuffer::store(const std::uint8_t* data, std::uint32_t size, bool restart)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    size = std::min(size, Capacity);
    std::uint32_t start = m_count.load(std::memory_order_relaxed);
    if (restart || static_cast<std::uint64_t>(start) + size > Capacity)
        start = 0;
    std::memcpy(m_bytes.data() + start, data, size);
    m_count.store(start + size, std::memory_order_release);
}

void ReceiveBuffer::copyOut(std::uint32_t offset, std::uint8_t* destination, std::uint32_t size) const
{
    // An empty destination may be a null pointer, which memcpy must not get even for no bytes.
    if (size == 0)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::uint32_t first = std::min(offset, Capacity + 1);
    const std::uint32_t available = std::min(size, Capacity + 1 - first);
    std::memcpy(destination, m_bytes.data() + first, available);
    std::memset(destination + available, 0, size - available);
}

std::vector<std::uint8_t> ReceiveBuffer::contents() const
{
    std::vector<std::uint8_t> bytes(count());
    copyOut(0, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}
