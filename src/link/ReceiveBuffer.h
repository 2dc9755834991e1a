// The shared receive buffer (`RxBuffer`, owned by the main window): the receive thread appends
// every chunk it reads, the GUI thread resets it before each request and reads the reply
// after the wait.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class ReceiveBuffer {
public:
    static constexpr std::uint32_t Capacity = 10000;

    // Zeroes every byte and the count (GUI thread, before each request).
    void reset();

    // Whether a chunk of `size` bytes no longer fits behind the bytes already held.
    bool wouldOverflow(std::uint32_t size) const;

    // Appends a chunk; with `restart` (or when it would not fit) the chunk is stored from
    // index 0 instead, over the old contents. The count is raised only after the bytes are
    // in place.
    void store(const std::uint8_t* data, std::uint32_t size, bool restart);

    // Bytes held; published with release ordering, read with acquire ordering.
    std::uint32_t count() const { return m_count.load(std::memory_order_acquire); }

    // Copies `size` bytes starting at `offset` (GUI thread, after a transaction).
    void copyOut(std::uint32_t offset, std::uint8_t* destination, std::uint32_t size) const;

    // The bytes held, as counted now (GUI thread, after a transaction).
    std::vector<std::uint8_t> contents() const;

private:
    // Serialises store and reset; never held across the hand-off to the GUI thread.
    mutable std::mutex m_mutex;
    std::array<std::uint8_t, Capacity + 1> m_bytes{}; // the last byte always stays 0
    std::atomic<std::uint32_t> m_count{0};
};
